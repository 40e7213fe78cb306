#include <gtest/gtest.h>

#include <filesystem>

#include "Graphics.h"
#include "Picture.h"
#include "ScratchFolder.h"

namespace {
constexpr std::uint32_t kSky = 0x000066;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x990000;

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
    ::alarm(10);  // a blocked open ends the run instead of hanging it
    for (const char* name : {"missing.png", "folder.png", "fifo.png"}) {
        EXPECT_EQ(Picture::Open(scratch / name), nullptr) << name;
    }
    ::alarm(0);
    EXPECT_NE(Picture::Open(scratch / "link.png"), nullptr);  // a link to a file is that file
    PicturePtr pic = Picture::Create(500, 300, 16);
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->Width(), 500);
    EXPECT_EQ(pic->Height(), 300);
    EXPECT_EQ(pic->Depth(), 16);
}

TEST(GraphicsTest, FillRectIsClippedAndExact) {
    PicturePtr pic = Filled(10, 10, kSky);
    Graphics& g = pic->Graphics();
    g.ForeColor = kRed;
    g.FillRect(-5, 8, 100, 100);
    EXPECT_EQ(pic->PixelAt(0, 7), kSky);
    EXPECT_EQ(pic->PixelAt(0, 8), kRed);
    EXPECT_EQ(pic->PixelAt(9, 9), kRed);
}

TEST(GraphicsTest, LinesAreAliasedAndIncludeBothEnds) {
    PicturePtr pic = Filled(20, 20, kSky);
    Graphics& g = pic->Graphics();
    g.ForeColor = kWhite;
    g.DrawLine(2, 3, 12, 8);
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

TEST(GraphicsTest, TransparentPictureSkipsPureWhite) {
    PicturePtr sprite = Filled(4, 4, kWhite);
    sprite->Graphics().ForeColor = kRed;
    sprite->Graphics().FillRect(1, 1, 2, 2);
    PicturePtr target = Filled(8, 8, kSky);

    sprite->Transparent = 1;
    target->Graphics().DrawPicture(sprite, 2, 2);
    EXPECT_EQ(target->PixelAt(2, 2), kSky);
    EXPECT_EQ(target->PixelAt(3, 3), kRed);

    sprite->Transparent = 0;
    target->Graphics().DrawPicture(sprite, 2, 2);
    EXPECT_EQ(target->PixelAt(2, 2), kWhite);
}

TEST(GraphicsTest, SourceRectangleSelectsOneFrame) {
    // Two 2x2 frames side by side: red, then white.
    PicturePtr strip = Filled(4, 2, kRed);
    strip->Graphics().ForeColor = kWhite;
    strip->Graphics().FillRect(2, 0, 2, 2);
    PicturePtr target = Filled(6, 6, kSky);
    target->Graphics().DrawPicture(strip, 1, 1, 2, 2, 2, 0, 2, 2);
    EXPECT_EQ(target->PixelAt(1, 1), kWhite);
    EXPECT_EQ(target->PixelAt(2, 2), kWhite);
    EXPECT_EQ(target->PixelAt(3, 3), kSky);
}

TEST(GraphicsTest, StretchedCopyScalesByNearestNeighbour) {
    PicturePtr strip = Filled(2, 1, kRed);
    strip->Graphics().ForeColor = kWhite;
    strip->Graphics().FillRect(1, 0, 1, 1);
    PicturePtr target = Filled(4, 2, kSky);
    target->Graphics().DrawPicture(strip, 0, 0, 4, 2, 0, 0, Graphics::kNaturalSize,
                                   Graphics::kNaturalSize);
    EXPECT_EQ(target->PixelAt(0, 0), kRed);
    EXPECT_EQ(target->PixelAt(1, 1), kRed);
    EXPECT_EQ(target->PixelAt(2, 0), kWhite);
    EXPECT_EQ(target->PixelAt(3, 1), kWhite);
}

TEST(GraphicsTest, NullPictureDrawsNothing) {
    PicturePtr target = Filled(4, 4, kSky);
    target->Graphics().DrawPicture(PicturePtr(), 0, 0);
    EXPECT_EQ(target->PixelAt(0, 0), kSky);
}
