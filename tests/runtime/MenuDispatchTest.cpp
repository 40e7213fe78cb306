#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
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

template <class Item = MenuItem>
std::shared_ptr<Item> NewItem(const char* name, const char* caption, const char* keys,
                              bool autoEnable, std::int32_t index = -1) {
    auto item = std::make_shared<Item>();
    item->Name = name;
    item->Text = caption;
    item->KeyboardShortcut = keys;
    item->AutoEnable = autoEnable;
    item->Index = index;
    return item;
}

// A bar of one menu: "Start" (Ctrl+T, enabled only by a window), a volume array of two items
// under one name, a separator line, and the quit item (Ctrl+Q).
std::shared_ptr<MenuBar> NewBar() {
    auto bar = std::make_shared<MenuBar>();
    bar->Append(NewItem("GameMenu", "Game", "", true));
    auto game = bar->Child("GameMenu");
    game->Append(NewItem("Start", "Start", "Cmd+T", false));
    for (int i = 0; i < 2; ++i) {
        game->Append(NewItem("Vol", "Vol", "", true, i));
    }
    game->Append(NewItem("Line", "-", "", true));
    game->Append(NewItem<QuitMenuItem>("Quit", "Quit", "Cmd+Q", true));
    return bar;
}

class GameLikeWindow : public Window {
public:
    explicit GameLikeWindow(std::shared_ptr<::MenuBar> bar) {
        SetMenuBar(std::move(bar));
        SetSize(120, 80);
        AddMenuHandler("Start", MenuHandler([this] { return ++started > 0; }));  // takes it
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
    // To whatever holds the window's keyboard focus, as the user's keys go.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->Widget()->focusWidget(), key, modifiers);
    }

    std::shared_ptr<MenuBar> bar = NewBar();
    Application app;
    std::unique_ptr<GameLikeWindow> window;
};

}  // namespace

TEST_F(MenuDispatch, AShortcutReachesItsHandlerOnlyWhileTheFrontWindowEnablesIt) {
    std::vector<int> started;
    for (const bool allowed : {false, true, false}) {
        window->startAllowed = allowed;
        Press(Qt::Key_T, Qt::ControlModifier);
        started.push_back(window->started);
    }
    EXPECT_EQ(started, (std::vector{0, 1, 1}));
    // A Ctrl chord is a command even when nothing takes it: never a typed key.
    EXPECT_TRUE(window->keys.empty());
}

TEST_F(MenuDispatch, ModifiersAloneAreNoKeysAndEveryOtherKeyIs) {
    for (const Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt}) {
        Press(key);
    }
    EXPECT_TRUE(window->keys.empty());

    Press(Qt::Key_A);
    Press(Qt::Key_A, Qt::ShiftModifier);
    for (const Qt::Key key :
         {Qt::Key_Space, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_F5, Qt::Key_Escape}) {
        Press(key);
    }
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", true);  // held down
    QApplication::sendEvent(window->Widget(), &repeat);
    QApplication::sendEvent(window->Widget(), &repeat);
    // A key without text is a control character, else a private-use character of its own; QTest
    // gives Shift+A the text "a", and what counts is that it is a key at all.
    EXPECT_EQ(window->keys, (std::vector<std::string>{"a", "a", " ", "\x1C", "\x1D", "\r", "\uF034",
                                                      "\x1B", "b", "b"}));
}

TEST_F(MenuDispatch, TheWindowsHandlerComesBeforeTheApplicationsAndGetsTheItemsIndex) {
    std::vector<std::string> calls;
    const auto note = [&](const std::string& call) { return (calls.push_back(call), true); };
    app.AddMenuHandler("Start", MenuHandler([&] { return note("app start"); }));
    app.AddMenuHandler("Vol", IndexedMenuHandler([&](std::int32_t index) {
                           return note("app vol " + std::to_string(index));
                       }));
    app.MenuCommand(*bar->Find("Start"));
    app.MenuCommand(*bar->Find("Vol", 1));
    EXPECT_EQ(window->started, 1);
    EXPECT_EQ(calls, std::vector<std::string>{"app vol 1"});
}

// The bar sits above the content. Opening a menu runs the enabling pass first; Escape out of it
// leaves Qt's bar holding the keyboard, yet the next key must still be the game's.
TEST_F(MenuDispatch, OpeningAMenuRunsTheEnablingPassAndEscapeGivesTheKeysBack) {
    EXPECT_EQ(window->Height(), 80);
    EXPECT_EQ(window->Widget()->height(), 80 + window->ContentTop());
    EXPECT_EQ(window->Widget()->findChild<QMenuBar*>()->geometry(),
              QRect(0, 0, 120, window->ContentTop()));
    QMenu* menu = bar->Child("GameMenu")->QtMenu();
    window->startAllowed = true;
    window->Widget()->findChild<QMenuBar*>()->setActiveAction(menu->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_TRUE(bar->Find("Start")->Enabled);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_EQ(window->Widget()->focusWidget(), window->Widget());
    Press(Qt::Key_Left);  // which Qt's bar would take to walk its menus
    EXPECT_EQ(window->keys, std::vector<std::string>{"\x1C"});
    window->startAllowed = false;
    emit menu->aboutToShow();
    EXPECT_FALSE(bar->Find("Start")->Enabled);
}

TEST_F(MenuDispatch, TheQuitItemQuitsWhenNoHandlerTakesIt) {
    bool taken = true;
    app.AddMenuHandler("Quit", MenuHandler([&] { return taken; }));
    app.MenuCommand(*bar->Find("Quit"));
    EXPECT_FALSE(window->IsClosed());
    taken = false;
    app.MenuCommand(*bar->Find("Quit"));
    EXPECT_TRUE(window->IsClosed());

    // With no window left a command finds no handler, and the enabling pass has no window to ask.
    app.MenuCommand(*bar->Find("Start"));
    emit bar->Child("GameMenu")->QtMenu()->aboutToShow();
    EXPECT_FALSE(bar->Find("Start")->Action()->isEnabled());
    EXPECT_TRUE(bar->Find("Line")->Action()->isSeparator());
    EXPECT_EQ(bar->Item(1), nullptr);
}
