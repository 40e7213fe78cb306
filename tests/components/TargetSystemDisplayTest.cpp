#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Graphics.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "ScratchFolder.h"
#include "TargetSystemDisplay.h"

namespace fs = std::filesystem;

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

std::vector<std::uint32_t> Pixels(const PicturePtr& pic) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < pic->Height(); ++y) {
        for (int x = 0; x < pic->Width(); ++x) {
            pixels.push_back(pic->PixelAt(x, y));
        }
    }
    return pixels;
}
}  // namespace

TEST(TargetSystemDisplayTest, EveryPaintShowsTheBadgeBandAtTheTopLeftUnscaled) {
    SetResourcesFolder((fs::path(TEMBROLO_SOURCE_DIR) / "resources").string());
    const PicturePtr source = TargetSystemPict();
    ASSERT_NE(source, nullptr);
    TargetSystemDisplay display(nullptr);

    const PicturePtr first = PaintedArea(display);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool badge = x < 16 && y < 8;
            EXPECT_EQ(first->PixelAt(x, y), badge ? source->PixelAt(x, y + 32) : kErased)
                << x << "," << y;
        }
    }
    EXPECT_EQ(Pixels(PaintedArea(display)), Pixels(first));
}

TEST(TargetSystemDisplayTest, WithoutThePictureItPaintsNothingAndCarriesOn) {
    const ScratchFolder empty;
    SetResourcesFolder(empty.Path());
    TargetSystemDisplay display(nullptr);
    const PicturePtr area = PaintedArea(display);
    for (std::uint32_t pixel : Pixels(area)) {
        ASSERT_EQ(pixel, kErased);
    }
}
