#include "Menu.h"

#include <array>

#include "AppleMenuItem.h"
#include "QuitMenuItem.h"

namespace shell {

namespace {
// Loudest (index 0) to softest, then mute.
constexpr std::array<const char*, 10> kVolumeCaptions = {
    "■■■■■■■■■", "■■■■■■■■", "■■■■■■■", "■■■■■■", "■■■■■", "■■■■", "■■■", "■■", "■", "消音"};
// Separators and the sound submenu leave their shortcut untouched.
constexpr const char* kNotSet = nullptr;
}  // namespace

Menu::Menu() {
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
}

void Menu::AppendMenu(const char* name, const char* caption) {
    auto menu = std::make_shared<MenuItem>();
    menu->Name = name;
    menu->Text = caption;
    menu->KeyboardShortcut = "";
    Append(menu);
}

void Menu::AppendItem(MenuItem& parent, std::shared_ptr<MenuItem> item, const char* name,
                      bool autoEnable, const char* caption, const char* shortcut) {
    item->Name = name;
    item->AutoEnable = autoEnable;
    item->Text = caption;
    if (shortcut != kNotSet) {
        item->KeyboardShortcut = shortcut;
    }
    parent.Append(std::move(item));
}

void Menu::Untitled1() {
    AppendMenu("UntitledMenu7", "ファイル");
    AppendItem(*Child("UntitledMenu7"), std::make_shared<MenuItem>(), "FileClose", false, "閉じる",
               "Cmd+W");
    AppendItem(*Child("UntitledMenu7"), std::make_shared<MenuItem>(), "UntitledMenu8", true, "-",
               kNotSet);
    AppendItem(*Child("UntitledMenu7"), std::make_shared<QuitMenuItem>(), "FileQuit", true, "終了",
               "Cmd+Q");
}

void Menu::Untitled2() {
    AppendMenu("UntitledMenu5", "編集");
    auto item = [this](const char* name, bool autoEnable, const char* caption, const char* keys) {
        AppendItem(*Child("UntitledMenu5"), std::make_shared<MenuItem>(), name, autoEnable, caption,
                   keys);
    };
    item("EditUndo", false, "取り消し", "Cmd+Z");
    item("UntitledMenu6", true, "-", kNotSet);
    item("EditCut", false, "カット", "Cmd+X");
    item("EditCopy", false, "コピー", "Cmd+C");
    item("EditPaste", false, "ペースト", "Cmd+V");
    item("EditClear", false, "消去", "");
}

void Menu::Untitled3() {
    AppendMenu("UntitledMenu1", "ゲーム");
    auto item = [this](const char* name, bool autoEnable, const char* caption, const char* keys) {
        AppendItem(*Child("UntitledMenu1"), std::make_shared<MenuItem>(), name, autoEnable, caption,
                   keys);
    };
    item("GameMenuStart", false, "開始", "Cmd+T");
    item("GameMenuHide", false, "雲隠れ", "");
    item("UntitledMenu4", true, "-", kNotSet);
    item("GameMenuHold", false, "観察モード", "");
    item("UntitledMenu3", true, "-", kNotSet);
    item("GameMenuFortune", false, "吉凶...", "Cmd+F");
    item("UntitledMenu2", true, "-", kNotSet);
    item("GameMenuSound", false, "効果音", kNotSet);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(kVolumeCaptions.size()); ++i) {
        auto volume = std::make_shared<MenuItem>();
        volume->Name = "GameMenuSoundVol";
        volume->AutoEnable = false;
        volume->Index = i;
        volume->Text = kVolumeCaptions[static_cast<std::size_t>(i)];
        volume->KeyboardShortcut = "";
        Child("UntitledMenu1")->Child("GameMenuSound")->Append(volume);
    }
}

void Menu::Untitled4() {
    AppendMenu("UntitledMenu0", "help");
    AppendItem(*Child("UntitledMenu0"), std::make_shared<AppleMenuItem>(), "AppleAbout", true,
               "Tembroloについて...", "");
    AppendItem(*Child("UntitledMenu0"), std::make_shared<MenuItem>(), "HelpApp", true,
               "Tembroloの説明...", "");
}

}  // namespace shell

namespace {
std::shared_ptr<shell::Menu>& TheMenu() {
    static std::shared_ptr<shell::Menu> menu;
    return menu;
}
}  // namespace

std::shared_ptr<shell::Menu> Menu() {
    if (!TheMenu()) {
        TheMenu() = std::make_shared<shell::Menu>();
    }
    return TheMenu();
}

void ReleaseMenu() {
    TheMenu().reset();
}
