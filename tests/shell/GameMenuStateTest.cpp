#include <QAction>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "Menu.h"
#include "ShellFixture.h"
#include "Sound.h"

namespace {
// The item's {enabled, checked} after the last enabling pass.
void ExpectState(const char* name, std::array<bool, 2> expected, int index = -1) {
    auto item = index < 0 ? ::Menu()->Find(name) : ::Menu()->Find(name, index);
    EXPECT_EQ((std::array{item->Enabled, item->Checked}), expected) << name << " " << index;
}

void ExpectVolumeItems(int current) {
    for (int i = 0; i < 10; ++i) {
        ExpectState("GameMenuSoundVol", {i != current, i == current}, i);
    }
}
}  // namespace

// Between games every Game item is enabled; during a game only observation mode and the volume
// stay available. The check marks follow the modes and the volume in both. Each pass begins
// again from every item's own rule.
TEST_F(ShellFixture, TheGameItemsFollowTheGameAndTheVolume) {
    OpenMain("000D000");
    app_->RunEnablingPass();
    for (const char* name : {"GameMenuStart", "GameMenuHide", "GameMenuHold", "GameMenuFortune"}) {
        ExpectState(name, {true, false});
    }
    ExpectVolumeItems(3);
    // The submenu itself is never enabled, yet it opens for its items.
    EXPECT_FALSE(::Menu()->Find("GameMenuSound")->Enabled);
    EXPECT_TRUE(::Menu()->Find("GameMenuSound")->Action()->isEnabled());
    // Nothing enables Close while the main window is in front, nor the Edit items.
    for (const char* name :
         {"FileClose", "EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear"}) {
        ExpectState(name, {false, false});
    }
    for (const char* name : {"FileQuit", "AppleAbout", "HelpApp"}) {
        ExpectState(name, {true, false});
    }

    Main().GameMenuHide_Action();
    app_->MenuCommand(*::Menu()->Find("GameMenuHold"));
    StartGame();
    app_->RunEnablingPass();
    ExpectState("GameMenuStart", {false, false});
    ExpectState("GameMenuHide", {false, true});
    ExpectState("GameMenuHold", {true, true});
    ExpectState("GameMenuFortune", {false, false});
    ExpectVolumeItems(3);
    // Commands that don't apply during a game change nothing, and still count as handled.
    EXPECT_TRUE(Main().GameMenuHide_Action());
    EXPECT_TRUE(Field().RefHideMode());
    EXPECT_TRUE(Main().GameMenuHold_Action());
    EXPECT_FALSE(Field().RefHold());
}

// The chosen step's code goes to byte 4 and the sample plays at the new volume; the step then
// carries the check mark and can't be chosen again. Mute plays nothing.
TEST_F(ShellFixture, ChoosingAVolumeStoresItsCodePlaysTheSampleAndChecksIt) {
    std::vector<std::pair<std::string, int>> played;
    Sound::SetPlayObserver(
        [&](const Sound& s, std::int32_t volume) { played.emplace_back(s.Name(), volume); });
    OpenMain();
    app_->MenuCommand(*::Menu()->Find("GameMenuSoundVol", 8));
    EXPECT_EQ(Data(), "000I000");
    EXPECT_EQ(played, (std::vector<std::pair<std::string, int>>{{"SoundVolSnd", 6}}));

    EXPECT_TRUE(Main().GameMenuSoundVol_Action(9));
    EXPECT_EQ(Data(), "0000000");
    EXPECT_EQ(played.size(), 1u);
    app_->RunEnablingPass();
    ExpectVolumeItems(9);
    EXPECT_FALSE(::Menu()->Find("GameMenuSoundVol", 9)->Action()->isEnabled());
    Sound::SetPlayObserver(nullptr);
}
