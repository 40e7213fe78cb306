#pragma once

#include <functional>
#include <memory>

#include "SoundPlayer.h"

// The two members of the main window that the game objects and the fortune window reach:
// the application's one sound player and the flag that halts the main game's tick.
class MainWindowShared {
public:
    virtual ~MainWindowShared() = default;

    bool ActionBlocking = false;
    // Nothing until the main window opens.
    std::unique_ptr<SoundPlayer> ItsSoundPlayer;
};

// The main window. The application installs a maker for its window class; without one (in the
// game's tests) a plain set of members stands in, so the game can run without the shell.
MainWindowShared& MainWindow();

// Called by the window itself as it comes and goes; `MainWindow()` then returns it.
void RegisterMainWindow(MainWindowShared* window);
void UnregisterMainWindow(MainWindowShared* window);
// How `MainWindow()` makes the window when none exists.
void SetMainWindowMaker(std::function<MainWindowShared*()> maker);
// Tests: drop the stand-in, so the next test starts from a fresh window.
void ResetMainWindowStandIn();
