#pragma once

#include <cstdint>

class Window;
class Control;

// Looks that the runtime's windows and canvases leave to their owner.
namespace WindowLook {

// The window's own background colour (24-bit RGB) behind its controls.
void SetBackColor(Window& window, std::uint32_t color);
// A canvas that fills its area with the window's background before it paints, so that it shows
// the background rather than stale pixels when it has nothing to draw.
void EraseBackground(Control& canvas);

}  // namespace WindowLook
