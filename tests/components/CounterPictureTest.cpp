#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "CounterPicture.h"
#include "Graphics.h"

namespace {
constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kLeftover = 0xFF00FF;
constexpr int kTop = 5;

// A strip whose every pixel tells its cell and its column: red = cell + 1, blue = column.
// Ten rows of another colour hang below the eleventh cell, as a strip's leftover rows would.
PicturePtr Strip(int cellWidth, int cellHeight) {
    PicturePtr strip = Picture::Create(cellWidth, 11 * cellHeight + 10, 32);
    Graphics& g = strip->Graphics();
    for (int cell = 0; cell < 11; ++cell) {
        for (int col = 0; col < cellWidth; ++col) {
            g.ForeColor = static_cast<std::uint32_t>((cell + 1) << 16 | col);
            g.FillRect(col, cell * cellHeight, 1, cellHeight);
        }
    }
    g.ForeColor = kLeftover;
    g.FillRect(0, 11 * cellHeight, cellWidth, 10);
    return strip;
}

void Clear(const PicturePtr& target) {
    target->Graphics().ForeColor = kSky;
    target->Graphics().FillRect(0, 0, target->Width(), target->Height());
}

PicturePtr Sky() {
    PicturePtr target = Picture::Create(200, 40, 32);
    Clear(target);
    return target;
}

using Cells = std::vector<std::pair<int, int>>;

// The cells found in the target's row at `y`: (left x, cell) with cell 10 for the minus sign.
Cells CellsAt(const PicturePtr& target, int y = kTop) {
    Cells cells;
    for (int x = 0; x < target->Width(); ++x) {
        const std::uint32_t p = target->PixelAt(x, y);
        if (p != kSky && (p & 0xFF) == 0) {
            cells.emplace_back(x, static_cast<int>(p >> 16) - 1);
        }
    }
    return cells;
}

// The cells that show `text` from `x` on, in cells `width` pixels wide.
Cells Shown(const std::string& text, int x = 0, int width = 10) {
    Cells cells;
    for (const char c : text) {
        cells.emplace_back(x, c == '-' ? 10 : c - '0');
        x += width;
    }
    return cells;
}

// A left-justified counter of 10 x 16 cells at (0, kTop) in the sky, invisible at first.
class CounterPictureTest : public testing::Test {
protected:
    const PicturePtr target = Sky();
    CounterPicture counter{target, Strip(10, 16), 0, kTop, "L"};
};
}  // namespace

TEST_F(CounterPictureTest, CellsStandWhereTheJustificationPutsThem) {
    const struct {
        const char* justify;
        int cellWidth;
        std::int32_t value;
        int left;
        const char* shown;
    } cases[] = {
        {"L", 10, 0, 100, "0"},
        {"L", 10, -5, 100, "-5"},
        {"L", 7, 123, 100, "123"},
        {"R", 10, 0, 90, "0"},
        {"R", 7, 123, 79, "123"},
        {"R", 10, -5, 80, "-5"},
        {"C", 7, 123, 89, "123"},  // 100 - 21 / 2 = 89.5, floored
        {"C", 10, -5, 90, "-5"},
        {"C", 7, 0, 96, "0"},
        {"x", 10, 42, 100, "42"},  // anything but "R" and "C" is left-justified
        {"C", 10, std::numeric_limits<std::int32_t>::min(), 45, "-2147483648"},
    };
    for (const auto& c : cases) {
        const PicturePtr sky = Sky();
        CounterPicture placed(sky, Strip(c.cellWidth, 16), 100, kTop, c.justify);
        placed.SetValue(c.value, false);
        placed.SetVisible(true);
        EXPECT_EQ(CellsAt(sky), Shown(c.shown, c.left, c.cellWidth)) << c.justify << " " << c.value;
    }
}

TEST_F(CounterPictureTest, CellsAreAsHighAsAnEleventhOfTheStripAndLeftoverRowsNeverShow) {
    const PicturePtr sky = Sky();
    CounterPicture tens(sky, Strip(10, 10), 0, kTop, "L");  // 120 rows: 10 x 10 cells
    tens.SetVisible(true);
    tens.SetValue(-9876543, false);
    EXPECT_EQ(CellsAt(sky, kTop + 9), Shown("-9876543"));
    EXPECT_EQ(CellsAt(sky, kTop + 10), Cells{});
    for (int y = 0; y < sky->Height(); ++y) {
        for (int x = 0; x < sky->Width(); ++x) {
            ASSERT_NE(sky->PixelAt(x, y), kLeftover) << x << "," << y;
        }
    }
}

TEST_F(CounterPictureTest, TheRangeClampsValuesAndStepsAndSettingItDrawsNothing) {
    counter.SetValue(1500, false);  // invisible and without a range: stored as it is
    EXPECT_EQ(counter.GetValue(), 1500);
    counter.SetRange(0, 999);
    EXPECT_EQ(counter.GetValue(), 999);
    EXPECT_EQ(CellsAt(target), Cells{});

    counter.SetVisible(true);
    counter.SetValue(-20, false);
    EXPECT_EQ(counter.GetValue(), 0);
    counter.SetValue(1500, false);
    EXPECT_EQ(counter.GetValue(), 999);
    EXPECT_EQ(CellsAt(target), Shown("999"));

    // Steps too are clamped, and drawn.
    counter.Increase1();
    EXPECT_EQ(counter.GetValue(), 999);
    counter.Decrease1();
    EXPECT_EQ(counter.GetValue(), 998);
    counter.Decrease(1000);
    EXPECT_EQ(counter.GetValue(), 0);
    counter.Increase(5);
    EXPECT_EQ(counter.GetValue(), 5);
    EXPECT_EQ(CellsAt(target), Shown("598"));  // nothing erased first

    counter.SetRange(10, 5);  // upside down: the maximum is applied last
    EXPECT_EQ(counter.GetValue(), 5);
}

TEST_F(CounterPictureTest, TestHighAndTestLowTakeOnlyBetterValuesAndReportThemEvenWhenClamped) {
    counter.SetRange(10, 999);
    counter.SetValue(999, false);
    counter.SetVisible(true);
    Clear(target);
    EXPECT_FALSE(counter.TestHigh(999));
    EXPECT_FALSE(counter.TestHigh(3));
    EXPECT_FALSE(counter.TestLow(999));
    EXPECT_EQ(CellsAt(target), Cells{});
    EXPECT_TRUE(counter.TestHigh(1200));
    EXPECT_EQ(counter.GetValue(), 999);
    EXPECT_EQ(CellsAt(target), Shown("999"));

    Clear(target);
    EXPECT_TRUE(counter.TestLow(7));
    EXPECT_EQ(counter.GetValue(), 10);
    EXPECT_EQ(CellsAt(target), Shown("10"));
}

TEST_F(CounterPictureTest, OnlyAChangeOrAForcedCallDrawsAVisibleCounter) {
    counter.SetValue(7, false);
    EXPECT_EQ(CellsAt(target), Cells{}) << "invisible counters draw nothing";
    counter.SetVisible(true);
    EXPECT_EQ(CellsAt(target), Shown("7"));

    Clear(target);
    counter.SetValue(7, false);
    EXPECT_EQ(CellsAt(target), Cells{});
    counter.SetValue(7, true);
    EXPECT_EQ(CellsAt(target), Shown("7"));
}

TEST_F(CounterPictureTest, WithoutADigitStripOrATargetTheCounterCountsUnseen) {
    CounterPicture stripless(target, nullptr, 268, kTop, "L");
    CounterPicture targetless(nullptr, Strip(10, 16), 268, kTop, "L");
    for (CounterPicture* unseen : {&stripless, &targetless}) {
        unseen->SetRange(0, 999);
        unseen->SetVisible(true);
        unseen->SetValue(1234, true);
        EXPECT_EQ(unseen->GetValue(), 999);
    }
    EXPECT_EQ(CellsAt(target), Cells{});
}
