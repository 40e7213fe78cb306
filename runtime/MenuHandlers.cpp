#include "MenuHandlers.h"

#include <utility>

#include "MenuItem.h"

void MenuHandlers::Add(const std::string& name, MenuHandler handler) {
    indexed_.erase(name);
    plain_[name] = std::move(handler);
}

void MenuHandlers::Add(const std::string& name, IndexedMenuHandler handler) {
    plain_.erase(name);
    indexed_[name] = std::move(handler);
}

bool MenuHandlers::Run(const MenuItem& item) const {
    if (auto it = plain_.find(item.Name); it != plain_.end() && it->second) {
        return it->second();
    }
    if (auto it = indexed_.find(item.Name); it != indexed_.end() && it->second) {
        return it->second(item.Index);
    }
    return false;
}
