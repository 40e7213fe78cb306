#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

class MenuItem;

// A menu command's handler returns true when it handled the command.
using MenuHandler = std::function<bool()>;
// For a control array of items sharing one name: the chosen item's Index is passed on.
using IndexedMenuHandler = std::function<bool(std::int32_t index)>;

// The menu handlers of one window or of the application, registered by item name.
class MenuHandlers {
public:
    void Add(const std::string& name, MenuHandler handler);
    void Add(const std::string& name, IndexedMenuHandler handler);
    // Runs the handler registered under the item's name; false when there is none or it
    // declined the command.
    bool Run(const MenuItem& item) const;

private:
    std::map<std::string, MenuHandler> plain_;
    std::map<std::string, IndexedMenuHandler> indexed_;
};
