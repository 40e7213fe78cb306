#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Control.h"

// Multi-line plain text with a vertical scroll bar, black on white. Text is held with CR line
// ends and shown one line per CR.
class TextArea : public Control {
public:
    explicit TextArea(class Window* window);

    // The text as shown, lines ended by CR.
    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    std::int32_t TextSize() const { return textSize_; }
    void SetTextSize(std::int32_t size);

    // The vertical scroll position: 0 at the top, growing as the text scrolls up.
    std::int32_t ScrollPosition() const;
    void ScrollToTop();

private:
    std::int32_t textSize_ = 0;
};
