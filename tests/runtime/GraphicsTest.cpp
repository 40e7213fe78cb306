#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>

#include "Graphics.h"
#include "Picture.h"
#include "ScratchFolder.h"

namespace {
constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x990000;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

PicturePtr Filled(int w, int h, std::uint32_t colour) {
    PicturePtr pic = Picture::Create(w, h, 32);
    pic->Graphics().ForeColor = colour;
    pic->Graphics().FillRect(0, 0, w, h);
    return pic;
}
}  // namespace

TEST(PictureTest, ImpossibleSizesAndFilesYieldNothing) {
    EXPECT_EQ(Picture::Create(0, 10, 32), nullptr);
    EXPECT_EQ(Picture::Create(10, -1, 32), nullptr);
    EXPECT_EQ(Picture::Create(100000, 100000, 32), nullptr);
    // Only a regular file is read: a FIFO in a picture's place would block the start-up for good.
    ScratchFolder scratch;
    ::mkfifo((scratch / "fifo.png").c_str(), 0600);
    std::filesystem::create_directory(scratch / "folder.png");
    std::filesystem::create_symlink(TEMBROLO_SOURCE_DIR "/resources/DigitPict.png",
                                    scratch / "link.png");
    // Nor is a file of more than 32 MiB, whatever it starts with.
    std::string big = ReadBytes(TEMBROLO_SOURCE_DIR "/resources/DigitPict.png").value_or("");
    WriteBytes(scratch / "big.png", big.append((32 << 20) + 1 - big.size(), '\0'));
    ::alarm(10);  // a blocked open ends the run instead of hanging it
    for (const char* name : {"missing.png", "folder.png", "fifo.png", "big.png"}) {
        EXPECT_EQ(Picture::Open(scratch / name), nullptr) << name;
    }
    ::alarm(0);
    EXPECT_NE(Picture::Open(scratch / "link.png"), nullptr);  // a link to a file is that file
    // A new picture is white all over, down to a single row or column.
    for (const auto& [w, h] : {std::pair{1, 300}, std::pair{500, 1}}) {
        PicturePtr pic = Picture::Create(w, h, 16);
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ((std::array{pic->Width(), pic->Height(), pic->Depth()}), (std::array{w, h, 16}));
        EXPECT_EQ(pic->PixelAt(w - 1, h - 1), kWhite);
    }
}

// Edges that lie beyond Int32 (x + w, y + h, x2 - x1) clip like any other: nothing overflows.
TEST(GraphicsTest, DrawingIsClippedToThePictureEvenAtTheEndsOfInt32) {
    PicturePtr pic = Filled(10, 10, kSky);
    PicturePtr red = Filled(2, 2, kRed);
    Graphics& g = pic->Graphics();
    g.ForeColor = kRed;
    g.FillRect(-5, 7, 100, 100);    // rows 7 and 8 ...
    g.FillRect(kMax - 1, 0, 5, 9);  // nothing: beyond the right edge
    g.FillRect(0, kMax, kMax, kMax);
    g.FillRect(kMin, 0, kMax, 9);  // ends at x -1
    g.DrawPicture(red, kMax - 1, 0, kMax, kMax, 0, 0, 2, 2);
    g.DrawPicture(red, 9, 0, kMax, kMax, 0, 0, 2, 2);  // the top-left source pixel, stretched
    g.ForeColor = kWhite;
    g.DrawLine(kMax, 9, kMin, 9);        // ... and row 9, across from the right
    g.DrawLine(kMin, kMin, kMax, kMax);  // through (0, 0) to (9, 9)
    g.DrawLine(kMax, kMin, kMax, kMax);
    for (std::int32_t y = 0; y < 10; ++y) {
        for (std::int32_t x = 0; x < 10; ++x) {
            const std::uint32_t want = y == 9 || x == y ? kWhite : y >= 7 || x == 9 ? kRed : kSky;
            ASSERT_EQ(pic->PixelAt(x, y), want) << x << "," << y;
        }
    }
}

TEST(GraphicsTest, LinesAreAliasedAndIncludeBothEnds) {
    PicturePtr pic = Filled(20, 20, kSky);
    Graphics& g = pic->Graphics();
    g.ForeColor = kWhite;
    g.DrawLine(2, 3, 12, 8);
    g.PenWidth = 0;
    g.DrawLine(0, 0, 19, 0);  // a pen of no width draws nothing
    EXPECT_EQ(pic->PixelAt(2, 3), kWhite);
    EXPECT_EQ(pic->PixelAt(12, 8), kWhite);
    int lit = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const std::uint32_t p = pic->PixelAt(x, y);
            EXPECT_TRUE(p == kWhite || p == kSky) << "blended pixel at " << x << "," << y;
            lit += p == kWhite;
        }
    }
    EXPECT_EQ(lit, 11);  // one pixel per column along the longer axis
}

TEST(GraphicsTest, ASourceRectangleIsCopiedScaledByNearestNeighbourWithWhiteSeeThroughOnRequest) {
    // Two 2x2 frames side by side: red, then white.
    PicturePtr strip = Filled(4, 2, kRed);
    strip->Graphics().ForeColor = kWhite;
    strip->Graphics().FillRect(2, 0, 2, 2);
    PicturePtr target = Filled(8, 8, kSky);
    Graphics& g = target->Graphics();
    g.DrawPicture(PicturePtr(), 0, 0);  // nothing, nor from a source of no width or height:
    g.DrawPicture(strip, 0, 0, 8, 8, 0, 0, 0, 2);
    g.DrawPicture(strip, 0, 0, 8, 8, 0, 0, 2, 0);
    g.DrawPicture(strip, 1, 1, 2, 2, 2, 0, 2, 2);  // the white frame, 1:1
    g.DrawPicture(strip, 0, 4, 8, 2);              // the whole strip, twice as wide
    g.DrawPicture(strip, 6, 0, 2, 4, 0, 1, 2, 2);  // rows below the picture are left alone
    g.DrawPicture(strip, 4, 0, 4, 1, 0, 0, 4, 2);  // its top row, squeezed into one
    const auto at = [&target](int x, int y) { return target->PixelAt(x, y); };
    EXPECT_EQ(
        (std::array{at(1, 1), at(2, 2), at(3, 3), at(0, 0), at(3, 5), at(4, 4), at(7, 5), at(5, 0),
                    at(6, 0), at(6, 1), at(6, 2)}),
        (std::array{kWhite, kWhite, kSky, kSky, kRed, kWhite, kWhite, kRed, kWhite, kRed, kSky}));
    strip->Transparent = 1;
    g.DrawPicture(strip, 0, 6);
    EXPECT_EQ((std::array{at(1, 7), at(2, 6)}), (std::array{kRed, kSky}));
}
