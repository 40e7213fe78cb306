#pragma once

#include <memory>

#include "MenuBar.h"

namespace shell {

// The program's one menu bar: "ファイル", "編集", "ゲーム" and "help". It only builds the tree;
// commands go to handlers registered under the items' names, and the enabling passes set the
// items' states.
class Menu : public MenuBar {
public:
    Menu();

    void Untitled1();  // File
    void Untitled2();  // Edit
    void Untitled3();  // Game, with the sound submenu
    void Untitled4();  // help

private:
    void AppendMenu(const char* name, const char* caption);
    // Builds one item and appends it to `parent`, found afresh by name.
    void AppendItem(MenuItem& parent, std::shared_ptr<MenuItem> item, const char* name,
                    bool autoEnable, const char* caption, const char* shortcut);
};

}  // namespace shell

// The bar, built on the first call; the same object afterwards.
std::shared_ptr<shell::Menu> Menu();
// At exit, before the application object goes: lets go of the bar and its Qt menus.
void ReleaseMenu();
