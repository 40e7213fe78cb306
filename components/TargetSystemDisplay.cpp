#include "TargetSystemDisplay.h"

#include <cstdint>

#include "Graphics.h"
#include "PictureItems.h"

namespace {
constexpr std::int32_t kBadgeWidth = 16;
constexpr std::int32_t kBadgeHeight = 8;
constexpr std::int32_t kBadgeTop = 32;  // the fifth 8-pixel band of the picture
}  // namespace

void TargetSystemDisplay::Event_Paint(Graphics& g) {
    g.DrawPicture(TargetSystemPict(), 0, 0, kBadgeWidth, kBadgeHeight, 0, kBadgeTop, kBadgeWidth,
                  kBadgeHeight);
}
