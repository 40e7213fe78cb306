#include "OffscreenCanvas.h"

#include <algorithm>
#include <limits>

#include "Graphics.h"
#include "Window.h"

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;

std::int32_t ClampDepth(std::int32_t depth) {
    switch (depth) {
        case 1:
        case 8:
        case 16:
        case 24:
            return depth;
        default:
            return 32;
    }
}
}  // namespace

OffscreenCanvas::OffscreenCanvas(class Window* window) : Canvas(window) {}

void OffscreenCanvas::Event_Open() {
    Initialize();
    if (Created) {
        Created(*this);
    }
}

void OffscreenCanvas::Event_Paint(Graphics& g) {
    PaintCanvas(g);
}

void OffscreenCanvas::CreateOffscreen(std::int32_t depth, bool oldRenderer) {
    ItsDepth = ClampDepth(depth);
    if (ItsFixedWidth > 0 && ItsFixedHeight > 0) {
        ItsWidth = ItsFixedWidth;
        ItsHeight = ItsFixedHeight;
    } else {
        ItsWidth = Width();
        ItsHeight = Height();
    }
    OffscreenPicture = Picture::Create(ItsWidth, ItsHeight, ItsDepth);
    if (OffscreenPicture == nullptr) {
        OffscreenGraphics = nullptr;
        IsOffscreenAveil = false;
        ItsDepth = 0;
        ItsWidth = 0;
        ItsHeight = 0;
        return;
    }
    OffscreenGraphics = &OffscreenPicture->Graphics();
    OffscreenGraphics->UseOldRenderer = oldRenderer;
    IsOffscreenAveil = true;
    OffscreenCreated();
    PaintOffscreen();
    RefreshPicture(false);
}

void OffscreenCanvas::DisposeOffscreen() {
    ItsDepth = 0;
    ItsWidth = 0;
    ItsHeight = 0;
    OffscreenPicture = nullptr;
    OffscreenGraphics = nullptr;
    IsOffscreenAveil = false;
    OffscreenDisposed();
}

void OffscreenCanvas::RefreshPicture(bool now) {
    Refresh(false);
    if (now && Window() != nullptr) {
        Window()->UpdateNow();
    }
}

namespace {
// (v * to) / from in 64 bits, so that no Int32 position overflows; a result beyond Int32 (an
// offscreen larger than its control) is held at the nearest Int32. 0 for a control of no size,
// rather than a division fault.
std::int32_t Scaled(std::int32_t v, std::int32_t to, std::int32_t from) {
    if (from <= 0) {
        return 0;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        std::int64_t{v} * to / from, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

std::int32_t OffscreenCanvas::ScaledPosX(std::int32_t x) const {
    return Scaled(x, ItsWidth, Width());
}

std::int32_t OffscreenCanvas::ScaledPosY(std::int32_t y) const {
    return Scaled(y, ItsHeight, Height());
}

void OffscreenCanvas::PaintCanvas(Graphics& g) {
    if (IsOffscreenAveil && ItsWidth == Width() && ItsHeight == Height()) {
        g.DrawPicture(OffscreenPicture, 0, 0);
    } else if (IsOffscreenAveil) {
        g.DrawPicture(OffscreenPicture, 0, 0, Width(), Height(), 0, 0, ItsWidth, ItsHeight);
    } else {
        g.ForeColor = kWhite;
        g.FillRect(0, 0, Width(), Height());
    }
}

bool OffscreenCanvas::IsPointIn(std::int32_t x, std::int32_t y) const {
    return x >= 0 && x < Width() && y >= 0 && y < Height();
}
