#include <QAction>
#include <string>
#include <vector>

#include "Menu.h"
#include "ShellFixture.h"

namespace {
struct ItemState {
    bool enabled;
    bool checked;
};

ItemState StateOf(const char* name, int index = -1) {
    auto item = index < 0 ? ::Menu()->Find(name) : ::Menu()->Find(name, index);
    return {item->Enabled, item->Checked};
}

void ExpectState(const char* name, ItemState expected, int index = -1) {
    SCOPED_TRACE(std::string(name) + " " + std::to_string(index));
    const ItemState actual = StateOf(name, index);
    EXPECT_EQ(actual.enabled, expected.enabled);
    EXPECT_EQ(actual.checked, expected.checked);
}

void ExpectVolumeItems(int current) {
    for (int i = 0; i < 10; ++i) {
        ExpectState("GameMenuSoundVol", {i != current, i == current}, i);
    }
}
}  // namespace

TEST_F(ShellFixture, BetweenGamesEveryGameItemIsEnabledAndTheCurrentVolumeIsChecked) {
    OpenMain("000D000");
    app_->RunEnablingPass();
    ExpectState("GameMenuStart", {true, false});
    ExpectState("GameMenuHide", {true, false});
    ExpectState("GameMenuHold", {true, false});
    ExpectState("GameMenuFortune", {true, false});
    ExpectVolumeItems(3);
    // The submenu itself is never enabled, yet it opens for its items.
    EXPECT_FALSE(StateOf("GameMenuSound").enabled);
    EXPECT_TRUE(::Menu()->Find("GameMenuSound")->ShownEnabled());
    // Nothing enables Close while the main window is in front, nor the Edit items.
    for (const char* name :
         {"FileClose", "EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear"}) {
        ExpectState(name, {false, false});
    }
    ExpectState("FileQuit", {true, false});
    ExpectState("AppleAbout", {true, false});
    ExpectState("HelpApp", {true, false});
}

TEST_F(ShellFixture, DuringAGameOnlyObservationAndVolumeStayAvailable) {
    OpenMain();
    Main().GameMenuHide_Action();
    Main().GameMenuHold_Action();
    StartGame();
    app_->RunEnablingPass();
    ExpectState("GameMenuStart", {false, false});
    ExpectState("GameMenuHide", {false, true});
    ExpectState("GameMenuHold", {true, true});
    ExpectState("GameMenuFortune", {false, false});
    ExpectVolumeItems(0);

    // Commands that don't apply during a game change nothing, and still count as handled.
    EXPECT_TRUE(Main().GameMenuHide_Action());
    EXPECT_TRUE(Field().RefHideMode());
    EXPECT_TRUE(Main().GameMenuHold_Action());
    EXPECT_FALSE(Field().RefHold());
}

TEST_F(ShellFixture, MuteCarriesTheCheckMarkAndCannotBeChosenAgain) {
    OpenMain();
    Main().GameMenuSoundVol_Action(9);
    app_->RunEnablingPass();
    ExpectVolumeItems(9);
    EXPECT_FALSE(::Menu()->Find("GameMenuSoundVol", 9)->Action()->isEnabled());
}
