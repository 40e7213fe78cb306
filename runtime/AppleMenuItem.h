#pragma once

#include "MenuItem.h"

// An item meant for the application's own menu. Without such a menu on this platform it stays
// where it was appended.
class AppleMenuItem : public MenuItem {
public:
    bool IsAppleItem() const override { return true; }
};
