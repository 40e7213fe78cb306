#pragma once

#include <optional>
#include <string>

// The folder the pictures and sounds ship in: "resources" beside the executable, else the
// installed data folder. Nothing when neither exists.
std::optional<std::string> ResourcesFolder();

// Tests point the program at a folder of their own; nothing restores the usual search.
void SetResourcesFolder(std::optional<std::string> folder);
