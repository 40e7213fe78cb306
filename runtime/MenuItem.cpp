#include "MenuItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <utility>

MenuItem::MenuItem() = default;

MenuItem::~MenuItem() {
    // Qt objects must not outlive the application object; after it is gone they are left to the
    // process's end instead of being destroyed.
    if (QCoreApplication::instance() == nullptr) {
        (void)ownAction_.release();
        (void)menu_.release();
    }
}

void MenuItem::Append(std::shared_ptr<MenuItem> item) {
    item->parent_ = this;
    children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Item(std::int32_t i) const {
    if (i < 0 || i >= Count()) {
        return nullptr;
    }
    return children_[static_cast<std::size_t>(i)];
}

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const {
    for (const auto& child : children_) {
        if (child->Name == name) {
            return child;
        }
    }
    return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Find(const std::string& name) const {
    for (const auto& child : children_) {
        if (child->Name == name) {
            return child;
        }
        if (auto found = child->Find(name)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Find(const std::string& name, std::int32_t index) const {
    for (const auto& child : children_) {
        if (child->Name == name && child->Index == index) {
            return child;
        }
        if (auto found = child->Find(name, index)) {
            return found;
        }
    }
    return nullptr;
}

bool MenuItem::ShownEnabled() const {
    if (Enabled) {
        return true;
    }
    for (const auto& child : children_) {
        if (!child->IsSeparator() && child->ShownEnabled()) {
            return true;
        }
    }
    return false;
}
