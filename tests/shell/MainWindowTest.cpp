#include <QApplication>
#include <QFile>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "FortuneWindow.h"
#include "HelpWindow.h"
#include "Menu.h"
#include "ResourcesFolder.h"
#include "ShellFixture.h"
#include "Sound.h"
#include "SoundItems.h"

namespace {
struct StoredData {
    const char* stored;
    const char* completed;
    int record;
    int volume;
    int hiddenRecord;
};
}  // namespace

TEST_F(ShellFixture, OpeningCompletesTheSettingsAndRestoresRecordAndVolume) {
    const std::vector<StoredData> cases = {
        {"", "0001000", 0, 0, 0},
        {"123", "1231000", 123, 0, 0},
        {"045G312", "045G312", 45, 6, 312},
        {"0450312", "0450312", 45, 9, 312},
        {"9991999XY", "9991999XY", 999, 0, 999},
        {"abcZ", "abcZ000", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TearDown();
        SetUp();
        OpenMain(c.stored);
        EXPECT_EQ(Data(), c.completed);
        EXPECT_EQ(Field().RefRecord(), c.record);
        EXPECT_EQ(Main().ItsSoundPlayer->RefVolume(), c.volume);
        EXPECT_FALSE(Main().ActionBlocking);
        Main().GameMenuHide_Action();
        EXPECT_EQ(Field().RefRecord(), c.hiddenRecord);
        EXPECT_EQ(Data(), c.completed);  // reading never writes
    }
}

TEST_F(ShellFixture, ANewRecordIsWrittenIntoTheBytesOfTheCurrentMode) {
    OpenMain("045G312XY");
    Field().SetRecord(7);
    Main().TheGameField_RecordUpdated(Field());
    EXPECT_EQ(Data(), "007G312XY");

    Main().GameMenuHide_Action();
    ASSERT_TRUE(Field().RefHideMode());
    Field().SetRecord(61);
    Main().TheGameField_RecordUpdated(Field());
    EXPECT_EQ(Data(), "007G061XY");
}

TEST_F(ShellFixture, EveryKeyButCommandsStartsOrTurnsTheRunner) {
    OpenMain();
    QTest::keyClick(Main().Widget(), Qt::Key_Space);
    QTest::keyClick(Main().Widget(), Qt::Key_Right);
    QTest::keyClick(Main().Widget(), Qt::Key_Shift);
    QTest::keyClick(Main().Widget(), Qt::Key_Control);
    EXPECT_EQ(Field().runs, 2);

    StartGame();
    const int runsBefore = Field().runs;
    for (Qt::Key key : {Qt::Key_T, Qt::Key_F, Qt::Key_W, Qt::Key_Z, Qt::Key_A}) {
        QTest::keyClick(Main().Widget(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(Field().runs, runsBefore);
    QTest::keyClick(Main().Widget(), Qt::Key_A);
    EXPECT_EQ(Field().runs, runsBefore + 1);
}

TEST_F(ShellFixture, StartAndFortuneShortcutsDoNothingDuringAGame) {
    OpenMain();
    StartGame();
    QTest::keyClick(Main().Widget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(::Window::OpenCount(), 1);
    EXPECT_FALSE(Main().ActionBlocking);

    // Between games the same key opens the fortune.
    TearDown();
    SetUp();
    OpenMain();
    QTest::keyClick(Main().Widget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(::Window::OpenCount(), 2);
    EXPECT_TRUE(Main().ActionBlocking);
}

TEST_F(ShellFixture, TheStartShortcutRequestsAGameOnlyBetweenGames) {
    OpenMain();
    QTest::keyClick(Main().Widget(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Field().RefActive());  // carried out by the next tick
    Tick();
    EXPECT_TRUE(Field().RefActive());
}

TEST_F(ShellFixture, ChoosingAVolumeStoresItsCodeAndPlaysTheSampleAtTheNewVolume) {
    std::vector<std::pair<std::string, int>> played;
    Sound::SetPlayObserver(
        [&](const Sound& s, std::int32_t volume) { played.emplace_back(s.Name(), volume); });
    OpenMain();
    app_->MenuCommand(*::Menu()->Find("GameMenuSoundVol", 8));
    EXPECT_EQ(Data(), "000I000");
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], std::make_pair(std::string("SoundVolSnd"), 6));

    app_->MenuCommand(*::Menu()->Find("GameMenuSoundVol", 9));
    EXPECT_EQ(Data(), "0000000");
    EXPECT_EQ(played.size(), 1u);  // muted: no sample
    EXPECT_EQ(Main().ItsSoundPlayer->RefVolume(), 9);
    Sound::SetPlayObserver(nullptr);
}

TEST_F(ShellFixture, WhileBlockedTheMainTickStepsNothing) {
    OpenMain();
    Tick();
    EXPECT_EQ(Field().steps, 1);
    Main().ActionBlocking = true;
    Tick();
    Tick();
    EXPECT_EQ(Field().steps, 1);
    Main().ActionBlocking = false;
    Tick();
    EXPECT_EQ(Field().steps, 2);
}

TEST_F(ShellFixture, ClosingTheMainWindowClosesTheOthersAndTheApplicationSavesAtQuit) {
    const std::vector<std::pair<const char*, std::function<::Window&()>>> others = {
        {"fortune",
         [this]() -> ::Window& {
             Main().GameMenuFortune_Action();
             return ::FortuneWindow();
         }},
        {"help",
         [this]() -> ::Window& {
             app_->HelpApp_Action();
             return ::HelpWindow();
         }},
    };
    for (const auto& [name, open] : others) {
        SCOPED_TRACE(name);
        TearDown();
        SetUp();
        OpenMain();
        ::Window& other = open();
        ASSERT_EQ(::Window::OpenCount(), 2);
        Main().Close();
        EXPECT_TRUE(other.IsClosed());
        EXPECT_EQ(::Window::OpenCount(), 0);
        EXPECT_FALSE(Main().ActionBlocking);
        EXPECT_TRUE(app_->IsQuitting());
        app_->Event_Close();
        QFile file(QString::fromStdString(PrefsPath()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), "000001000");
    }
}

// In a process of its own: the sound items, once let go, answer nothing for the rest of the run.
TEST(ReleaseAllTest, TheSoundItemsGoBeforeTheWindows) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto run = [] {
        SetResourcesFolder(TEMBROLO_SOURCE_DIR "/resources");
        shell::InstallMainWindowMaker();
        const auto soundsHeld = [] {
            const auto items = {SilenceSnd, SoundVolSnd, LightningSnd, OpenSnd, EndSnd};
            return std::count_if(items.begin(), items.end(), [](auto i) { return i(); });
        };
        std::vector<long> held = {soundsHeld()};  // now, then as each window goes
        auto& main = dynamic_cast<shell::MainWindow&>(::MainWindow());
        // A control's widget goes with its window; the window's own goes later.
        for (QWidget* w : {main.TheGameField().Widget(), ::HelpWindow().EditField1().Widget()}) {
            QObject::connect(w, &QObject::destroyed, [&] { held.push_back(soundsHeld()); });
        }
        shell::ReleaseAll();
        std::_Exit(held == std::vector<long>{5, 0, 0} ? 0 : 1);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}

TEST_F(ShellFixture, TheFieldFillsTheWindowBelowItsMenuBar) {
    OpenMain();
    EXPECT_EQ(Main().Title(), "Tembrolo");
    EXPECT_EQ(Main().Width(), 500);
    EXPECT_EQ(Main().Height(), 300);
    EXPECT_EQ(Field().Left(), 0);
    EXPECT_EQ(Field().Top(), 0);
    EXPECT_EQ(Field().Width(), 500);
    EXPECT_EQ(Field().Height(), 300);
    EXPECT_GT(Main().ContentTop(), 0);
    EXPECT_EQ(Field().Widget()->y(), Main().ContentTop());
    EXPECT_EQ(Main().Widget()->minimumSize(), Main().Widget()->maximumSize());
    const Qt::WindowFlags flags = Main().Widget()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}
