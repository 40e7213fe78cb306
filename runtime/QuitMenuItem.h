#pragma once

#include "MenuItem.h"

// The item that quits the application when no handler takes its command.
class QuitMenuItem : public MenuItem {
public:
    bool IsQuitItem() const override { return true; }
};
