#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class MenuBar;

// One entry of a menu bar: a menu on the bar, a command, a separator (caption "-") or a submenu.
// The properties are plain values; the menu bar copies them to its Qt actions after every enabling
// pass, so a handler may set them freely.
class MenuItem {
public:
    MenuItem();
    virtual ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    // Handlers are registered and items looked up by this name; items of one control array share
    // it.
    std::string Name;
    std::string Text;
    // "Cmd+" and one capital letter, or empty. The Command key is Ctrl here.
    std::string KeyboardShortcut;
    // False: the item starts every enabling pass disabled and only a window's enabler turns it on.
    bool AutoEnable = true;
    bool Enabled = true;
    bool Checked = false;
    // Place in a control array of items that share a name; -1 for an item on its own.
    std::int32_t Index = -1;

    void Enable() { Enabled = true; }

    void Append(std::shared_ptr<MenuItem> item);
    std::int32_t Count() const { return static_cast<std::int32_t>(children_.size()); }
    std::shared_ptr<MenuItem> Item(std::int32_t i) const;
    MenuItem* Parent() const { return parent_; }

    // A direct child by name; nothing when there is none.
    std::shared_ptr<MenuItem> Child(const std::string& name) const;
    // The first item of that name (and index) anywhere below this one, depth first.
    std::shared_ptr<MenuItem> Find(const std::string& name) const;
    std::shared_ptr<MenuItem> Find(const std::string& name, std::int32_t index) const;

    bool IsSeparator() const { return Text == "-"; }
    // The kind of item: a plain item, the application's quit, or an item of the application menu.
    virtual bool IsQuitItem() const { return false; }
    virtual bool IsAppleItem() const { return false; }

    // What the Qt side shows: enabled as set, and a submenu also whenever one of its items is,
    // so that it can be opened to reach them.
    bool ShownEnabled() const;

    // The Qt objects, made by the menu bar the first time a window shows it.
    QAction* Action() const { return action_; }
    QMenu* QtMenu() const { return menu_.get(); }

private:
    friend class MenuBar;

    std::vector<std::shared_ptr<MenuItem>> children_;
    MenuItem* parent_ = nullptr;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QAction> ownAction_;
    QAction* action_ = nullptr;  // ownAction_, or the menu's own action for a submenu
};
