#pragma once

#include <string>

#include "Canvas.h"

// The badge of the system this build is for: the 16 x 8 band at (0, 32) of TargetSystemPict,
// painted unscaled at the control's top-left corner. Without the picture it paints nothing.
class TargetSystemDisplay : public Canvas {
public:
    using Canvas::Canvas;

    void Event_Paint(Graphics& g) override;
    std::string VersionInfo() const { return "2011-12-22,1"; }
};
