#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Control.h"

// One line of static text. Presses on it go on to its window.
class Label : public Control {
public:
    static constexpr std::int32_t kAlignLeft = 0;
    static constexpr std::int32_t kAlignCenter = 1;
    static constexpr std::int32_t kAlignRight = 2;

    explicit Label(class Window* window);

    std::string Text() const;
    void SetText(const std::string& text);
    std::int32_t TextSize() const { return textSize_; }
    void SetTextSize(std::int32_t size);
    std::int32_t TextAlign() const { return textAlign_; }
    void SetTextAlign(std::int32_t align);
    // 24-bit RGB.
    std::uint32_t TextColor() const { return textColor_; }
    void SetTextColor(std::uint32_t color);

private:
    std::int32_t textSize_ = 0;
    std::int32_t textAlign_ = kAlignLeft;
    std::uint32_t textColor_ = 0x000000;
};
