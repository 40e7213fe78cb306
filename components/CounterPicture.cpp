#include "CounterPicture.h"

#include <array>
#include <cmath>
#include <utility>

#include "Graphics.h"
#include "RuntimeBackgroundTask.h"

namespace {
constexpr double kCells = 11.0;
constexpr std::int32_t kMinusCell = 10;
}  // namespace

CounterPicture::CounterPicture(PicturePtr target, PicturePtr digits, std::int32_t x, std::int32_t y,
                               std::string justify)
    : ItsDigitPict(std::move(digits)),
      ItsJustify(std::move(justify)),
      ItsPicture(std::move(target)),
      ItsPositionX(x),
      ItsPositionY(y) {
    // A missing strip (its file gone) leaves 0 x 0 cells: the counter keeps counting, unseen.
    if (ItsDigitPict) {
        ItsDigitWidth = ItsDigitPict->Width();
        ItsDigitHeight = static_cast<std::int32_t>(std::floor(ItsDigitPict->Height() / kCells));
    }
}

void CounterPicture::SetValue(std::int32_t value, bool force) {
    if (value != ItsValue) {
        ItsValue = value;
        CheckRange();
        DrawPicture();
    } else if (force) {
        DrawPicture();
    }
}

void CounterPicture::Increase(std::int32_t n) {
    Change(std::int64_t{ItsValue} + n);
}
void CounterPicture::Decrease(std::int32_t n) {
    Change(std::int64_t{ItsValue} - n);
}

void CounterPicture::Change(std::int64_t value) {
    // Int32 arithmetic that wraps instead of overflowing, as the counter's callers expect: the
    // conversion keeps the value modulo 2^32.
    ItsValue = static_cast<std::int32_t>(value);
    CheckRange();
    DrawPicture();
}

void CounterPicture::DrawPicture() {
    if (!IsVisible || !ItsPicture || !ItsDigitPict) {
        return;
    }
    Graphics& g = ItsPicture->Graphics();
    // The magnitude in 64 bits, so that the most negative Int32 still has one.
    std::int64_t n = ItsValue < 0 ? -std::int64_t{ItsValue} : ItsValue;
    std::array<std::int32_t, 21> cells{};
    std::int32_t count = 0;
    do {  // least significant digit first; 0 gives the one digit 0
        cells[count++] = static_cast<std::int32_t>(n % 10);
        n /= 10;
        RuntimeBackgroundTask();
    } while (n != 0);
    if (ItsValue < 0) {
        cells[count++] = kMinusCell;
    }
    std::int32_t x = FirstCellX(count);
    for (std::int32_t i = count - 1; i >= 0; --i) {
        g.DrawPicture(ItsDigitPict, x, ItsPositionY, ItsDigitWidth, ItsDigitHeight, 0,
                      cells[i] * ItsDigitHeight, ItsDigitWidth, ItsDigitHeight);
        x += ItsDigitWidth;
        RuntimeBackgroundTask();
    }
}

std::int32_t CounterPicture::FirstCellX(std::int32_t cells) const {
    const std::int32_t width = ItsDigitWidth * cells;
    if (ItsJustify == "R") {
        return ItsPositionX - width;
    }
    if (ItsJustify == "C") {
        return static_cast<std::int32_t>(std::floor(ItsPositionX - width / 2.0));
    }
    return ItsPositionX;
}

void CounterPicture::CheckRange() {
    if (!HasRange) {
        return;
    }
    if (ItsValue < RangeMin) {
        ItsValue = RangeMin;
    }
    if (ItsValue > RangeMax) {  // the maximum wins when the range is upside down
        ItsValue = RangeMax;
    }
}

void CounterPicture::SetRange(std::int32_t min, std::int32_t max) {
    RangeMin = min;
    RangeMax = max;
    HasRange = true;
    CheckRange();
}

bool CounterPicture::TestHigh(std::int32_t value) {
    if (ItsValue >= value) {
        return false;
    }
    ItsValue = value;
    CheckRange();
    DrawPicture();
    return true;
}

bool CounterPicture::TestLow(std::int32_t value) {
    if (value >= ItsValue) {
        return false;
    }
    ItsValue = value;
    CheckRange();
    DrawPicture();
    return true;
}

void CounterPicture::SetVisible(bool visible) {
    IsVisible = visible;
    DrawPicture();
}
