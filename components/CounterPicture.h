#pragma once

#include <cstdint>
#include <string>

#include "Picture.h"

// Shows an integer by stamping cells of a digit strip into a target picture: the strip is one
// column of 11 equal cells, 0-9 then the minus sign, each Floor(height / 11) pixels high.
// Nothing is erased first; the owner repaints what lies under the number. Without a strip or a
// target the counter keeps its value and draws nothing.
class CounterPicture {
public:
    // justify: "R" puts the number's right edge at x, "C" centres it on x, anything else puts
    // its left edge at x. The counter starts invisible, at 0, without a range; nothing is drawn.
    CounterPicture(PicturePtr target, PicturePtr digits, std::int32_t x, std::int32_t y,
                   std::string justify);

    // A changed value is stored, clamped and drawn; an unchanged one is drawn only when forced.
    void SetValue(std::int32_t value, bool force);
    std::int32_t GetValue() const { return ItsValue; }
    void Increase1() { Increase(1); }
    void Decrease1() { Decrease(1); }
    void Increase(std::int32_t n);
    void Decrease(std::int32_t n);
    void DrawPicture();
    std::string VersionInfo() const { return "2011-11-22,1"; }
    // Switches the range on for good and clamps the value, without drawing.
    void SetRange(std::int32_t min, std::int32_t max);
    // Takes a value above (below) the stored one; true even when the clamp then undoes it.
    bool TestHigh(std::int32_t value);
    bool TestLow(std::int32_t value);
    void SetVisible(bool visible);
    bool RefVisible() const { return IsVisible; }

protected:
    void CheckRange();

    PicturePtr ItsDigitPict;
    std::int32_t ItsValue = 0;
    std::string ItsJustify;
    bool HasRange = false;
    std::int32_t RangeMin = 0;
    std::int32_t RangeMax = 0;
    PicturePtr ItsPicture;
    std::int32_t ItsPositionX = 0;
    std::int32_t ItsPositionY = 0;
    bool IsVisible = false;
    std::int32_t ItsDigitWidth = 0;
    std::int32_t ItsDigitHeight = 0;

private:
    void Change(std::int64_t value);
    std::int32_t FirstCellX(std::int32_t cells) const;
};
