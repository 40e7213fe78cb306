#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "MenuBar.h"
#include "QuitMenuItem.h"
#include "Window.h"

namespace {

std::shared_ptr<MenuItem> NewItem(const char* name, const char* caption, const char* keys,
                                  bool autoEnable) {
    auto item = std::make_shared<MenuItem>();
    item->Name = name;
    item->Text = caption;
    item->KeyboardShortcut = keys;
    item->AutoEnable = autoEnable;
    return item;
}

// A bar of one menu: "Start" (Ctrl+T, enabled only by a window), a volume array of two items
// under one name, and the quit item (Ctrl+Q).
std::shared_ptr<MenuBar> NewBar() {
    auto bar = std::make_shared<MenuBar>();
    bar->Append(NewItem("GameMenu", "Game", "", true));
    auto game = bar->Child("GameMenu");
    game->Append(NewItem("Start", "Start", "Cmd+T", false));
    for (int i = 0; i < 2; ++i) {
        auto vol = NewItem("Vol", "Vol", "", true);
        vol->Index = i;
        game->Append(vol);
    }
    auto quit = std::make_shared<QuitMenuItem>();
    quit->Name = "Quit";
    quit->Text = "Quit";
    quit->KeyboardShortcut = "Cmd+Q";
    game->Append(quit);
    return bar;
}

class GameLikeWindow : public Window {
public:
    explicit GameLikeWindow(std::shared_ptr<::MenuBar> bar) {
        SetMenuBar(std::move(bar));
        SetSize(120, 80);
        AddMenuHandler("Start", MenuHandler([this] {
                           ++started;
                           return true;
                       }));
    }
    bool Event_KeyDown(const std::string& key) override {
        keys.push_back(key);
        return false;
    }
    void Event_EnableMenuItems() override {
        if (startAllowed) {
            MenuBar()->Find("Start")->Enable();
        }
    }
    bool startAllowed = false;
    int started = 0;
    std::vector<std::string> keys;
};

class MenuDispatch : public testing::Test {
protected:
    void SetUp() override {
        app.SetMenuBar(bar);
        window = std::make_unique<GameLikeWindow>(bar);
        window->Show();
        QApplication::setActiveWindow(window->Widget());
        window->Widget()->setFocus();
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->Widget(), key, modifiers);
    }

    std::shared_ptr<MenuBar> bar = NewBar();
    Application app;
    std::unique_ptr<GameLikeWindow> window;
};

}  // namespace

TEST_F(MenuDispatch, AShortcutReachesItsHandlerOnlyWhileTheFrontWindowEnablesIt) {
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(window->started, 0);

    window->startAllowed = true;
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(window->started, 1);

    window->startAllowed = false;
    Press(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(window->started, 1);
    // A Ctrl chord is a command even when nothing takes it: never a typed key.
    EXPECT_TRUE(window->keys.empty());
}

TEST_F(MenuDispatch, ModifiersAloneAreNoKeysAndEveryOtherKeyIs) {
    Press(Qt::Key_Shift);
    Press(Qt::Key_Control);
    Press(Qt::Key_Alt);
    EXPECT_TRUE(window->keys.empty());

    Press(Qt::Key_A);
    Press(Qt::Key_A, Qt::ShiftModifier);
    Press(Qt::Key_Space);
    Press(Qt::Key_Left);
    Press(Qt::Key_Right);
    Press(Qt::Key_Return);
    Press(Qt::Key_F5);
    Press(Qt::Key_Escape);
    // A key without text is a control character, else a private-use character of its own; QTest
    // gives Shift+A the text "a", and what counts is that it is a key at all.
    EXPECT_EQ(window->keys,
              (std::vector<std::string>{"a", "a", " ", "\x1C", "\x1D", "\r", "\uF034", "\x1B"}));
}

TEST_F(MenuDispatch, AutoRepeatedKeysCountEachTime) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", true);
    QApplication::sendEvent(window->Widget(), &repeat);
    QApplication::sendEvent(window->Widget(), &repeat);
    EXPECT_EQ(window->keys.size(), 2u);
}

TEST_F(MenuDispatch, TheWindowsHandlerComesBeforeTheApplicationsAndGetsTheItemsIndex) {
    std::vector<std::string> calls;
    app.AddMenuHandler("Start", MenuHandler([&] {
                           calls.push_back("app start");
                           return true;
                       }));
    app.AddMenuHandler("Vol", IndexedMenuHandler([&](std::int32_t index) {
                           calls.push_back("app vol " + std::to_string(index));
                           return true;
                       }));
    app.MenuCommand(*bar->Find("Start"));
    app.MenuCommand(*bar->Find("Vol", 1));
    EXPECT_EQ(window->started, 1);
    EXPECT_EQ(calls, std::vector<std::string>{"app vol 1"});
}

TEST_F(MenuDispatch, OpeningAMenuRunsTheEnablingPassFirst) {
    auto start = bar->Find("Start");
    window->startAllowed = true;
    emit bar->Child("GameMenu")->QtMenu()->aboutToShow();
    EXPECT_TRUE(start->Enabled);
    window->startAllowed = false;
    emit bar->Child("GameMenu")->QtMenu()->aboutToShow();
    EXPECT_FALSE(start->Enabled);
}

TEST_F(MenuDispatch, TheMenuBarSitsAboveTheContent) {
    EXPECT_GT(window->ContentTop(), 0);
    EXPECT_EQ(window->Height(), 80);
    EXPECT_EQ(window->Widget()->height(), 80 + window->ContentTop());
}

TEST_F(MenuDispatch, TheQuitItemQuitsWhenNoHandlerTakesIt) {
    app.MenuCommand(*bar->Find("Quit"));
    EXPECT_TRUE(window->IsClosed());
}
