#include "DemoField.h"

#include <algorithm>

#include "Graphics.h"

namespace {
constexpr std::uint32_t kNightSky = 0x000066;
constexpr std::uint32_t kGround = 0x990000;
constexpr std::uint32_t kMark = 0xFFFFFF;
constexpr std::int32_t kGroundY = 280;
constexpr std::int32_t kMarkSize = 8;
constexpr std::int32_t kStep = 5;  // pixels per tick
}  // namespace

void DemoField::GameStep() {
    markX_ = (markX_ + kStep) % std::max(ItsWidth, 1);
    PaintOffscreen();
    RefreshPicture(false);
}

void DemoField::PaintOffscreen() {
    if (OffscreenGraphics == nullptr) {
        return;
    }
    Graphics& g = *OffscreenGraphics;
    g.ForeColor = kNightSky;
    g.FillRect(0, 0, ItsWidth, kGroundY);
    g.ForeColor = kGround;
    g.FillRect(0, kGroundY, ItsWidth, ItsHeight - kGroundY);
    g.ForeColor = kMark;
    g.FillRect(markX_, kGroundY - kMarkSize, kMarkSize, kMarkSize);
}
