#pragma once

#include <cstdint>

class Window;

// The application object. The caller makes the QApplication first; Run raises Event_Open,
// runs the event loop, and raises Event_Close once when the loop has ended.
class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one application object, or null.
    static Application* Current();

    virtual void Event_Open() {}
    virtual void Event_Close() {}

    // Quit when the last open window has closed.
    bool AutoQuit = false;

    int Run();
    // Closes every window (each may refuse, which cancels the quit), then ends the loop.
    void Quit();
    bool IsQuitting() const { return quitting_; }

    std::int32_t WindowCount() const;
    class Window* Window(std::int32_t index) const;

    // Called by a window once it is closed and out of the open windows.
    virtual void WindowClosed();

private:
    bool quitting_ = false;
    bool running_ = false;
    bool quitRequested_ = false;
};
