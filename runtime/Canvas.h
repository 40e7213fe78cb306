#pragma once

#include <cstdint>
#include <functional>

#include "Control.h"
#include "Picture.h"

class Graphics;

// A control that draws itself: each paint event gets a Graphics of the control's size, with
// the backdrop (when set) already drawn.
class Canvas : public Control {
public:
    explicit Canvas(class Window* window);
    ~Canvas() override;

    PicturePtr Backdrop() const { return backdrop_; }
    // Repaints the canvas with the new backdrop.
    void SetBackdrop(PicturePtr picture);

    virtual void Event_Paint(Graphics& g);
    // Raise the matching event below when it has a handler.
    virtual void Event_MouseEnter();
    virtual void Event_MouseExit();
    // True when handled; an unhandled press goes on to the window, in window coordinates.
    virtual bool Event_MouseDown(std::int32_t x, std::int32_t y);

    // Handlers that the owning window sets on a plain canvas.
    std::function<void(Canvas&)> MouseEnter;
    std::function<void(Canvas&)> MouseExit;

    // The paint path: backdrop, then Event_Paint. Paint events run it; tests may call it.
    void Paint(Graphics& g);

private:
    PicturePtr backdrop_;
};
