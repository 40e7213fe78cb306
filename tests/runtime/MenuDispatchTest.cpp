#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Application.h"
#include "MenuBar.h"
#include "QuitMenuItem.h"
#include "Window.h"

namespace {

// The caption is the name: "-" makes a separator line.
template <class Item = MenuItem>
std::shared_ptr<Item> NewItem(const char* name, const char* keys, bool autoEnable,
                              std::int32_t index = -1) {
    auto item = std::make_shared<Item>();
    item->Name = item->Text = name;
    item->KeyboardShortcut = keys;
    item->AutoEnable = autoEnable;
    item->Index = index;
    return item;
}

// A bar of one menu, shown enabled through its items: "Start" (Ctrl+T, enabled only by a window),
// a volume array of two items under one name, a separator line, and the quit item (Ctrl+Q).
std::shared_ptr<MenuBar> NewBar() {
    auto bar = std::make_shared<MenuBar>();
    bar->Append(NewItem("Game", "", false));
    auto game = bar->Child("Game");
    game->Append(NewItem("Start", "Cmd+T", false));
    game->Append(NewItem("Vol", "", true, 0));
    game->Append(NewItem("Vol", "", true, 1));
    game->Append(NewItem("-", "", true));
    game->Append(NewItem<QuitMenuItem>("Quit", "Cmd+Q", true));
    return bar;
}

class GameLikeWindow : public Window {
public:
    explicit GameLikeWindow(std::shared_ptr<::MenuBar> bar) {
        SetMenuBar(std::move(bar));
        SetSize(120, 80);
        AddMenuHandler("Start", MenuHandler([this] { return ++started > 0; }));  // takes it
    }
    bool Event_KeyDown(const std::string& key) override { return (keys.push_back(key), false); }
    void Event_EnableMenuItems() override {
        ++enablingPasses;
        if (startAllowed) {
            MenuBar()->Find("Start")->Enable();
        }
    }
    bool startAllowed = false;
    int started = 0;
    int enablingPasses = 0;
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
    EXPECT_EQ(window->enablingPasses, 3);
    // A Ctrl chord is a command even when nothing takes it: never a typed key.
    EXPECT_TRUE(window->keys.empty());
}

TEST_F(MenuDispatch, ModifiersAloneAreNoKeysAndEveryOtherKeyIs) {
    Press(Qt::Key_A, Qt::ShiftModifier);
    for (const Qt::Key key :
         {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_A, Qt::Key_Space, Qt::Key_Left,
          Qt::Key_Right, Qt::Key_Return, Qt::Key_F5, Qt::Key_Escape}) {
        Press(key);
    }
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b", true);  // held down
    QApplication::sendEvent(window->Widget(), &repeat);
    QApplication::sendEvent(window->Widget(), &repeat);
    // A key without text is a control character, else a private-use character of its own; QTest
    // gives Shift+A the text "a", and what counts is that it is a key at all.
    EXPECT_EQ(window->keys, (std::vector<std::string>{"a", "a", " ", "\x1C", "\x1D", "\r", "\uF034",
                                                      "\x1B", "b", "b"}));
    EXPECT_EQ(window->enablingPasses, 0);  // no Ctrl, no shortcut to enable
}

// The bar sits above the content. Opening a menu runs the enabling pass first; Escape out of it
// leaves Qt's bar holding the keyboard, yet the next key must still be the game's.
TEST_F(MenuDispatch, OpeningAMenuRunsTheEnablingPassAndEscapeGivesTheKeysBack) {
    EXPECT_EQ(std::tuple(window->Height(), window->Widget()->height()),
              std::tuple(80, 80 + window->ContentTop()));
    EXPECT_EQ(window->Widget()->findChild<QMenuBar*>()->geometry(),
              QRect(0, 0, 120, window->ContentTop()));
    QMenu* menu = bar->Child("Game")->QtMenu();
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

// The front window's handler comes first, then the application's; the quit item quits when
// neither takes it.
TEST_F(MenuDispatch, ACommandGoesToTheFrontWindowThenTheApplicationThenQuits) {
    std::vector<std::string> calls;
    bool quitTaken = true;
    const auto note = [&](const std::string& call) { return (calls.push_back(call), true); };
    app.AddMenuHandler("Start", MenuHandler([&] { return note("app start"); }));
    app.AddMenuHandler("Vol", IndexedMenuHandler([&](std::int32_t index) {
                           return note("app vol " + std::to_string(index));
                       }));
    app.AddMenuHandler("Quit", MenuHandler([&] { return quitTaken; }));
    app.MenuCommand(*bar->Find("Start"));
    app.MenuCommand(*bar->Find("Vol", 1));
    app.MenuCommand(*bar->Find("Quit"));
    EXPECT_EQ(window->started, 1);
    EXPECT_FALSE(window->IsClosed());
    quitTaken = false;
    app.MenuCommand(*bar->Find("Quit"));
    EXPECT_TRUE(window->IsClosed());

    // With no window left the application's handler takes it, and the enabling pass has no
    // window to ask.
    app.MenuCommand(*bar->Find("Start"));
    EXPECT_EQ(calls, (std::vector<std::string>{"app vol 1", "app start"}));
    emit bar->Child("Game")->QtMenu()->aboutToShow();
    EXPECT_EQ((std::array{bar->Find("Start")->Action()->isEnabled(),
                          bar->Child("Game")->Action()->isEnabled(),
                          bar->Find("-")->Action()->isSeparator()}),
              (std::array{false, true, true}));
    EXPECT_EQ(bar->Item(1), nullptr);
}
