#pragma once

#include <cstdint>

#include "OffscreenCanvas.h"

// A stand-in play field until the game lands: a mark crossing the night sky above the ground,
// one step per tick.
class DemoField : public OffscreenCanvas {
public:
    explicit DemoField(class Window* window) : OffscreenCanvas(window) {}

    void GameStep();

protected:
    void PaintOffscreen() override;

private:
    std::int32_t markX_ = 0;  // pixels
};
