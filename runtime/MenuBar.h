#pragma once

#include <functional>

#include "MenuItem.h"

class QMenuBar;

// The root of a menu tree. Its direct children are the menus on the bar. One set of Qt menus and
// actions serves every window that shows the bar, so a shortcut or a check mark is the same
// wherever it shows.
class MenuBar : public MenuItem {
public:
    MenuBar();
    ~MenuBar() override;

    // Raised when an item's command is chosen, by mouse or shortcut.
    std::function<void(MenuItem& item)> Chosen;
    // Raised before a menu of the bar opens, so its items can be enabled first.
    std::function<void()> AboutToOpen;

    // Puts the bar's menus on a window's Qt menu bar, making the Qt objects on the first call.
    void AttachTo(QMenuBar* bar);

    // One enabling pass: items with AutoEnable start enabled and the others disabled, then
    // `enabler` (the front window's) may change them; the result goes to the Qt actions.
    void RunEnablingPass(const std::function<void()>& enabler);

    // Copies every item's caption, shortcut, enabled state and check mark to its Qt action.
    void SyncActions();

private:
    void Realize();
    void RealizeItem(MenuItem& item, QMenu* parentMenu);
    bool realized_ = false;
};
