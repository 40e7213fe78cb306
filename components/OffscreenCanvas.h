#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "Canvas.h"
#include "Picture.h"

class Graphics;

// A double-buffered drawing control. A subclass draws whole frames into the offscreen picture
// (PaintOffscreen); a paint event only copies the picture, 1:1 or stretched to the control.
// Set-up order: Initialize, then Created, whose handler calls CreateOffscreen, which runs
// OffscreenCreated, PaintOffscreen and a repaint request.
class OffscreenCanvas : public Canvas {
public:
    explicit OffscreenCanvas(class Window* window);

    // Raised at the end of the open event; the owning window's handler makes the offscreen.
    std::function<void(OffscreenCanvas& sender)> Created;

    void Event_Open() override;
    void Event_Paint(Graphics& g) override;
    // Depth 1, 8, 16 or 24 is kept; any other gives 32. Replaces an existing offscreen.
    void CreateOffscreen(std::int32_t depth, bool oldRenderer);
    void DisposeOffscreen();
    std::string VersionInfo() const { return "2012-05-03,1"; }
    bool RefOffscreenAvail() const { return IsOffscreenAveil; }
    // The mouse in control coordinates.
    std::int32_t GetMouseLocalX() const { return MouseX() - Left(); }
    std::int32_t GetMouseLocalY() const { return MouseY() - Top(); }
    // A control coordinate as an offscreen coordinate (truncated); 0 on a control of no size.
    std::int32_t ScaledPosX(std::int32_t x) const;
    std::int32_t ScaledPosY(std::int32_t y) const;
    bool IsPointIn(std::int32_t x, std::int32_t y) const;

protected:
    virtual void PaintOffscreen() {}
    // Marks the control for repainting; with now, the window repaints at once.
    void RefreshPicture(bool now);
    virtual void Initialize() {}
    virtual void OffscreenCreated() {}
    virtual void OffscreenDisposed() {}
    void PaintCanvas(Graphics& g);

    PicturePtr OffscreenPicture;
    // Belongs to OffscreenPicture; null whenever the picture is.
    Graphics* OffscreenGraphics = nullptr;
    std::int32_t ItsWidth = 0;
    std::int32_t ItsHeight = 0;
    std::int32_t ItsDepth = 0;
    bool IsOffscreenAveil = false;
    // Used only when both are > 0.
    std::int32_t ItsFixedWidth = 0;
    std::int32_t ItsFixedHeight = 0;
};
