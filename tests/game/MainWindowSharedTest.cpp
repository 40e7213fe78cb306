#include "MainWindowShared.h"

#include <gtest/gtest.h>

#include <memory>

// Dropping the stand-in leaves a registered window in place. Without one the game's objects
// share a stand-in; dropping it ends it at once, with the sounds its player held, and the next
// call makes a fresh one.
TEST(MainWindowSharedTest, ARegisteredWindowStaysAndADroppedStandInEndsAtOnce) {
    MainWindowShared window;
    RegisterMainWindow(&window);
    ResetMainWindowStandIn();
    EXPECT_EQ(&MainWindow(), &window);
    UnregisterMainWindow(&window);
    MainWindowShared& standIn = MainWindow();
    standIn.ItsSoundPlayer = std::make_unique<SoundPlayer>();
    const auto sound = std::make_shared<Sound>("OpenSnd");
    standIn.ItsSoundPlayer->PushQueue(sound, 5);
    ResetMainWindowStandIn();
    EXPECT_EQ(sound.use_count(), 1);
    EXPECT_EQ(MainWindow().ItsSoundPlayer, nullptr);
    ResetMainWindowStandIn();
}
