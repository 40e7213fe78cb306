#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "MenuHandlers.h"

class MenuBar;
class MenuItem;
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

    // The application's menu bar. Its commands go to the front window's handler of the item's
    // name, then to the application's; an unhandled quit item quits.
    std::shared_ptr<::MenuBar> MenuBar() const;
    void SetMenuBar(std::shared_ptr<::MenuBar> bar);
    void AddMenuHandler(const std::string& name, MenuHandler handler);
    void AddMenuHandler(const std::string& name, IndexedMenuHandler handler);

    // The window the user works in: the active one, else the newest visible one; null when none.
    class Window* FrontWindow() const;
    // Items without AutoEnable start disabled, then the front window's Event_EnableMenuItems
    // runs. It runs before a menu opens and before any key press could reach a shortcut, so a
    // shortcut applies exactly when its item would be enabled in the menu.
    void RunEnablingPass();
    // A chosen item's command, as from the menu.
    void MenuCommand(const MenuItem& item);

private:
    struct MenuState;
    std::unique_ptr<MenuState> menus_;
    bool quitting_ = false;
    bool running_ = false;
    bool quitRequested_ = false;
};
