#pragma once

#include <cstdint>
#include <memory>

class QWidget;
class Window;

// Base of every control: a child widget of its window, with the window's geometry calls.
// A control made without a window owns a widget of its own, so it works headless in tests.
// The window holds its controls by pointer only; whoever creates a control owns it.
class Control {
public:
    explicit Control(class Window* window);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Position in the window's coordinates, size in pixels.
    std::int32_t Left() const;
    std::int32_t Top() const;
    std::int32_t Width() const;
    std::int32_t Height() const;
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The mouse position in the window's coordinates (the same frame as Left and Top).
    std::int32_t MouseX() const;
    std::int32_t MouseY() const;

    // Raised by the window when it first shows, in the order the controls were created.
    virtual void Event_Open() {}

    // Null for a control made without a window, and once the window is gone. Inside a control
    // class this name hides the class: write `::Window*` (or `class Window*`) there.
    class Window* Window() const {
        return window_;
    }

    // Marks the control for repainting; the paint comes from the event loop or from the
    // window's UpdateNow, whichever is first.
    void Refresh(bool eraseBackground = false);
    bool IsRefreshPending() const { return refreshPending_; }
    // Paints now when marked; the window's UpdateNow calls it.
    void RepaintIfMarked();

    // Null once Qt has destroyed the widget (its window went first).
    QWidget* Widget() const;

protected:
    // For controls with a widget class of their own. The widget is made without a parent; it
    // is handed to the window's widget, or kept by the control when there is no window.
    Control(class Window* window, std::unique_ptr<QWidget> widget);
    // Paint events call it, so that a mark is cleared however the paint came.
    void ClearRefreshMark() { refreshPending_ = false; }

private:
    friend class Window;
    void Attach(std::unique_ptr<QWidget> widget);
    std::int32_t ContentTop() const;
    void DetachFromWindow() { window_ = nullptr; }

    struct Impl;
    std::unique_ptr<Impl> impl_;
    class Window* window_ = nullptr;
    bool refreshPending_ = false;
};
