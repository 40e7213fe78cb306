#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <cstdint>

#include "Graphics.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "ScratchFolder.h"
#include "TargetSystemDisplay.h"

namespace {
constexpr std::uint32_t kErased = 0xABCDEF;

// What a paint leaves in a 20 x 12 area that was erased first.
PicturePtr PaintedArea(TargetSystemDisplay& display) {
    PicturePtr area = Picture::Create(20, 12, 32);
    area->Graphics().ForeColor = kErased;
    area->Graphics().FillRect(0, 0, 20, 12);
    display.Paint(area->Graphics());
    return area;
}

// A picture larger than the badge's band, whose every pixel tells its place: red x, green y.
std::uint32_t Marked(int x, int y) {
    return static_cast<std::uint32_t>(x << 16 | y << 8 | 0x80);
}
}  // namespace

// Without its picture the control paints nothing and carries on; once the picture is there, every
// paint shows its 16 x 8 band at (0, 32) in the control's top-left corner, unscaled.
TEST(TargetSystemDisplayTest, EveryPaintShowsTheBadgeBandAtTheTopLeftUnscaled) {
    const ScratchFolder folder;
    SetResourcesFolder(folder.Path());
    TargetSystemDisplay display(nullptr);
    QImage source(24, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 24; ++x) {
            source.setPixel(x, y, Marked(x, y));
        }
    }
    for (const bool present : {false, true, true}) {
        if (present) {
            ASSERT_TRUE(source.save(QString::fromStdString(folder / "TargetSystemPict.png")));
        }
        const PicturePtr area = PaintedArea(display);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 20; ++x) {
                const bool badge = present && x < 16 && y < 8;
                EXPECT_EQ(area->PixelAt(x, y), badge ? Marked(x, y + 32) : kErased)
                    << x << "," << y;
            }
        }
    }
}
