#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "AboutWindow.h"
#include "EventLoop.h"
#include "FileTypes.h"
#include "FortuneWindow.h"
#include "HelpWindow.h"
#include "Menu.h"
#include "Microseconds.h"
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
        Sound::CloseAudio();
        OpenMain(c.stored);
        EXPECT_EQ(Data(), c.completed);
        EXPECT_EQ(Field().RefRecord(), c.record);
        EXPECT_EQ(Main().ItsSoundPlayer->RefVolume(), c.volume);
        // With no sound played yet, the device opens as the window shows, unless muted.
        EXPECT_EQ(QTest::qWaitFor(Sound::AudioIsOpen, 1000), c.volume != 9);
        EXPECT_EQ(Main().ItsSoundPlayer->SacrificeInterval, 10);  // the filler after 1 s quiet
        EXPECT_FALSE(Main().ActionBlocking);
        app_->MenuCommand(*::Menu()->Find("GameMenuHide"));
        EXPECT_EQ(Field().RefRecord(), c.hiddenRecord);
        EXPECT_EQ(Data(), c.completed);  // reading never writes
    }
}

TEST_F(ShellFixture, ANewRecordIsWrittenIntoTheBytesOfTheCurrentMode) {
    OpenMain("045G312XY");
    Field().SetRecord(7);
    Field().RecordUpdated(Field());
    EXPECT_EQ(Data(), "007G312XY");

    Main().GameMenuHide_Action();
    ASSERT_TRUE(Field().RefHideMode());
    Field().SetRecord(61);
    Field().RecordUpdated(Field());
    EXPECT_EQ(Data(), "007G061XY");
}

// Every key but a command goes to the runner, in any state. Between games Cmd+F opens the fortune
// and Cmd+T requests a game, which the next tick starts; during a game neither does anything.
TEST_F(ShellFixture, KeysGoToTheRunnerAndTheGameShortcutsWorkOnlyBetweenGames) {
    OpenMain();
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Right, Qt::Key_Shift, Qt::Key_Control}) {
        QTest::keyClick(Main().Widget(), key);
    }
    EXPECT_EQ(Field().runs, 2);

    QTest::keyClick(Main().Widget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(::Window::OpenCount(), 2);
    EXPECT_TRUE(Main().ActionBlocking);
    ::FortuneWindow().CloseButton().Push();
    Activate(Main());
    QTest::keyClick(Main().Widget(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Field().RefActive());
    Tick();
    ASSERT_TRUE(Field().RefActive());

    const int runsBefore = Field().runs;
    for (Qt::Key key : {Qt::Key_T, Qt::Key_F, Qt::Key_W, Qt::Key_Z, Qt::Key_A}) {
        QTest::keyClick(Main().Widget(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(Field().runs, runsBefore);
    EXPECT_EQ(::Window::OpenCount(), 1);
    EXPECT_FALSE(Main().ActionBlocking);
    QTest::keyClick(Main().Widget(), Qt::Key_A);
    EXPECT_EQ(Field().runs, runsBefore + 1);
}

// The first tick comes once 100 ms have passed, on a 20 ms library timer; each steps the field,
// paints it and plays what was queued, all within the tick. Blocked ticks do none of it.
TEST_F(ShellFixture, EachMainTickStepsPaintsAndSoundsUnlessBlocked) {
    std::vector<std::string> played;
    Sound::SetPlayObserver([&](const Sound& s, std::int32_t) { played.push_back(s.Name()); });
    OpenMain();
    EXPECT_EQ(Main().TheGameHeltz().Mode(), Timer::kModeMultiple);
    EXPECT_EQ(Main().TheGameHeltz().Period(), 20);
    now_ = 99'999;
    Main().TheGameHeltz().Event_Action();
    EXPECT_EQ(Field().steps, 0);
    now_ = 100'001;
    Main().TheGameHeltz().Event_Action();
    EXPECT_EQ(Field().steps, 1);

    Main().ItsSoundPlayer->PushQueue(SoundVolSnd(), 1);
    Main().ActionBlocking = true;
    Tick();
    Tick();
    EXPECT_EQ(Field().steps, 1);
    EXPECT_TRUE(played.empty());
    Main().ActionBlocking = false;
    Tick();
    EXPECT_EQ(Field().steps, 2);
    EXPECT_FALSE(Field().IsRefreshPending());
    EXPECT_EQ(played, std::vector<std::string>{"SoundVolSnd"});
    Sound::SetPlayObserver(nullptr);
}

// An audio device that takes 2 s to open holds up no tick: the window starts opening it as it
// shows, and the volume menu's sample, chosen meanwhile, waits for it instead of the game. Once
// open, the device stays ready for the sounds to come.
TEST_F(ShellFixture, ASlowAudioDeviceHoldsUpNoTick) {
    Sound::CloseAudio();
    Sound::SimulateSlowDevice(2000);
    SetMicrosecondsSource(nullptr);  // real time, as the game runs
    OpenMain();
    QTimer::singleShot(200, [this] { Main().GameMenuSoundVol_Action(3); });
    RunEventLoopFor(1500);
    EXPECT_NEAR(Field().steps, 15, 1);
    EXPECT_FALSE(Sound::AudioIsOpen());
    Sound::SimulateSlowDevice(0);
    ASSERT_TRUE(QTest::qWaitFor(Sound::AudioIsOpen));
    RunEventLoopFor(300);
    EXPECT_TRUE(Sound::AudioIsOpen());
    Sound::CloseAudio();
}

// Closing the main window closes every other one; with none left the application quits and saves
// the settings, which a first run always writes.
TEST_F(ShellFixture, ClosingTheMainWindowClosesTheOthersAndTheApplicationSavesAtQuit) {
    OpenMain();
    app_->HelpApp_Action();
    EXPECT_TRUE(Main().GameMenuFortune_Action());
    ::Window& help = ::HelpWindow();
    ::Window& fortune = ::FortuneWindow();
    ASSERT_EQ(::Window::OpenCount(), 3);
    Main().Close();
    EXPECT_TRUE(help.IsClosed());
    EXPECT_TRUE(fortune.IsClosed());
    EXPECT_EQ(::Window::OpenCount(), 0);
    EXPECT_FALSE(Main().ActionBlocking);
    EXPECT_TRUE(app_->IsQuitting());
    app_->Event_Close();
    QFile file(QString::fromStdString(PrefsPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "000001000");
}

// Sizes (below any menu bar), titles, frames, boxes and the controls' places in window
// coordinates are fixed. The main window opens centred on the screen, every other one centred
// over the window in front (to within the frames' rounding).
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

TEST_F(ShellFixture, EveryWindowHasItsFixedLookAndPlace) {
    struct Look {
        ::Window& window;
        const char* title;
        std::array<int, 3> sizeAndFrame;
        bool boxes;  // close and minimize boxes; never a maximize box
        bool white;  // a white background of its own
    };
    OpenMain();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((Main().Widget()->frameGeometry().center() - screenCentre).manhattanLength(), 4);
    Main().Widget()->move(0, 0);
    ::AboutWindow().Show();
    app_->HelpApp_Action();
    Main().GameMenuFortune_Action();
    shell::AboutWindow& about = ::AboutWindow();
    shell::HelpWindow& help = ::HelpWindow();
    shell::FortuneWindow& fortune = ::FortuneWindow();
    const std::vector<Look> looks = {{Main(), "Tembrolo", {500, 300, 0}, true, false},
                                     {about, "Tembroloについて", {200, 80, 2}, false, true},
                                     {help, "Tembroloの説明", {400, 370, 0}, true, true},
                                     {fortune, "吉凶", {200, 330, 1}, false, false}};
    for (std::size_t i = 0; i < looks.size(); ++i) {
        const Look& look = looks[i];
        SCOPED_TRACE(look.title);
        QWidget* widget = look.window.Widget();
        EXPECT_EQ(look.window.Title(), look.title);
        EXPECT_EQ((std::array{look.window.Width(), look.window.Height(), look.window.Frame()}),
                  look.sizeAndFrame);
        EXPECT_EQ(widget->minimumSize(), widget->maximumSize());
        EXPECT_EQ(look.window.CloseBox(), look.boxes);
        EXPECT_EQ(widget->windowFlags().testFlag(Qt::WindowMinimizeButtonHint), look.boxes);
        EXPECT_FALSE(widget->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(widget->palette().color(QPalette::Window) == Qt::white, look.white);
        if (i > 0) {
            const QPoint under = looks[i - 1].window.Widget()->frameGeometry().center();
            EXPECT_LE((widget->frameGeometry().center() - under).manhattanLength(), 4);
        }
    }
    const std::vector<std::pair<Control*, std::array<int, 4>>> places = {
        {&Field(), {0, 0, 500, 300}},
        {&about.AppName(), {64, 24, 100, 16}},
        {&about.AppCopy(), {16, 56, 168, 16}},
        {&about.AppIcon(), {16, 16, 32, 32}},
        {&about.TheTargetSystemDisplay(), {180, 3, 16, 8}},
        {&help.TabPanel1(), {0, 1, 400, 369}},
        {&help.EditField1(), {6, 23, 388, 342}},
        {&help.EditField6(), {6, 23, 388, 342}},
        {&fortune.CloseButton(), {65, 305, 70, 20}},
        {&fortune.TheFortuneField(), {0, 0, 200, 300}},
    };
    for (const auto& [control, bounds] : places) {
        EXPECT_EQ(
            (std::array{control->Left(), control->Top(), control->Width(), control->Height()}),
            bounds);
    }
    EXPECT_EQ(Field().Widget()->y(), Main().ContentTop());
}

// Start-up installs the maker of the one main window; at exit the window goes, and the accessor
// hands out no window that is gone. The preferences' file type is declared meanwhile.
TEST_F(ShellFixture, StartUpMakesTheOneMainWindowAndExitLetsItGo) {
    main_.reset();
    shell::InstallMainWindowMaker();
    auto* made = dynamic_cast<shell::MainWindow*>(&::MainWindow());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(&::MainWindow(), made);
    shell::ReleaseMainWindow();
    EXPECT_EQ(dynamic_cast<shell::MainWindow*>(&::MainWindow()), nullptr);
    ResetMainWindowStandIn();

    FileTypes::Initialize();
    const FileType& type = FileTypes::PrefsData();
    EXPECT_EQ((std::vector{type.Name, type.Extensions, type.MacType, type.MacCreator}),
              (std::vector<std::string>{"PrefsData", "", "PREF", "QVLK"}));
    FileTypes::Release();
}
