#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Control.h"

// A push button with a caption. The window's default button also answers Return and Enter.
class PushButton : public Control {
public:
    explicit PushButton(class Window* window);
    ~PushButton() override;

    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    std::int32_t TextSize() const { return textSize_; }
    void SetTextSize(std::int32_t size);

    // Raised when the button is clicked (or, for the default button, on Return or Enter).
    std::function<void(PushButton&)> Action;
    // Clicks the button as the user would: nothing happens while it is disabled.
    void Push();

private:
    void RaiseAction();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool default_ = false;
    std::int32_t textSize_ = 0;
};
