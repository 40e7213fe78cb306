#pragma once

#include "FolderItem.h"

// Folders the system gives every user.
class SpecialFolder {
public:
    // The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
    // ~/.config. Made (mode 0700) when missing. Nothing when it can't be had.
    static FolderItemPtr Preferences();
};
