#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <functional>

#include "AboutWindow.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "Timer.h"

namespace {

constexpr int kGiveUpMs = 3000;

class AboutWindowTest : public testing::Test {
protected:
    void SetUp() override { SetResourcesFolder(TEMBROLO_SOURCE_DIR "/resources"); }
    void TearDown() override { shell::ReleaseAboutWindow(); }

    // Opens the About window modally, as the About command does, and runs `act` on it from
    // inside the modal loop. True when the modal call came back because the window closed.
    static bool ShowModalAndDo(const std::function<void(shell::AboutWindow&)>& act) {
        shell::AboutWindow& window = AboutWindow();
        bool gaveUp = false;
        QTimer::singleShot(0, [&] { act(window); });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [&] {
            gaveUp = true;
            window.Close();
        });
        giveUp.start(kGiveUpMs);
        window.ShowModal();
        return !gaveUp && window.IsClosed();
    }

    static void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(widget, &enter);
    }
    static void Leave(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
};

class CountingTimer : public Timer {
public:
    void Event_Action() override { ++fired; }
    int fired = 0;
};

}  // namespace

TEST_F(AboutWindowTest, IsAFixedWhiteDialogWithoutCloseBox) {
    shell::AboutWindow& window = AboutWindow();
    EXPECT_EQ(window.Width(), 200);
    EXPECT_EQ(window.Height(), 80);
    EXPECT_EQ(window.Title(), "Tembroloについて");
    EXPECT_EQ(window.Frame(), Window::kModalFrame);
    EXPECT_FALSE(window.CloseBox());
    EXPECT_EQ(window.Widget()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(window.AppName().Text(), "Tembrolo 11.0.0");
    EXPECT_NE(window.AppCopy().Text().find("2012"), std::string::npos);
    EXPECT_NE(window.AppCopy().Text().find("Quillmoor"), std::string::npos);

    // The window manager's close request is refused; only a key or a press closes it.
    window.Show();
    window.Widget()->close();
    EXPECT_FALSE(window.IsClosed());
    window.Close();
}

TEST_F(AboutWindowTest, EveryKeyAndAPressAnywhereCloseIt) {
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Z, Qt::Key_5, Qt::Key_Space, Qt::Key_Return,
                        Qt::Key_Escape, Qt::Key_Left, Qt::Key_Tab}) {
        EXPECT_TRUE(ShowModalAndDo([key](auto& w) { QTest::keyClick(w.Widget(), key); })) << key;
    }
    const std::function<QWidget*(shell::AboutWindow&)> targets[] = {
        [](auto& w) { return w.Widget(); }, [](auto& w) { return w.AppName().Widget(); },
        [](auto& w) { return w.AppCopy().Widget(); }, [](auto& w) { return w.AppIcon().Widget(); }};
    for (const auto& target : targets) {
        EXPECT_TRUE(ShowModalAndDo(
            [&](auto& w) { QTest::mousePress(target(w), Qt::LeftButton, {}, QPoint(2, 2)); }));
    }
}

TEST_F(AboutWindowTest, TheIconShowsTheLogoWhileTheMouseIsOverIt) {
    ASSERT_NE(IconPict(), nullptr);
    ASSERT_NE(QuillmoorPict(), nullptr);
    shell::AboutWindow& window = AboutWindow();
    window.Show();
    QWidget* icon = window.AppIcon().Widget();
    EXPECT_EQ(window.AppIcon().Backdrop(), IconPict());
    for (int crossing = 0; crossing < 3; ++crossing) {
        Enter(icon);
        EXPECT_EQ(window.AppIcon().Backdrop(), QuillmoorPict()) << crossing;
        Leave(icon);
        EXPECT_EQ(window.AppIcon().Backdrop(), IconPict()) << crossing;
    }
}

TEST_F(AboutWindowTest, EveryOpeningStartsWithTheIconEvenIfTheLogoShowedAtClose) {
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_TRUE(ShowModalAndDo([opening](shell::AboutWindow& window) {
            EXPECT_EQ(window.AppIcon().Backdrop(), IconPict()) << opening;
            Enter(window.AppIcon().Widget());
            ASSERT_EQ(window.AppIcon().Backdrop(), QuillmoorPict());
            QTest::keyClick(window.Widget(), Qt::Key_X);
        }));
    }
}

TEST_F(AboutWindowTest, OpensAndClosesWithThePicturesMissing) {
    SetResourcesFolder(TEMBROLO_BINARY_DIR "/no-such-folder");
    EXPECT_TRUE(ShowModalAndDo([](shell::AboutWindow& window) {
        EXPECT_EQ(window.AppIcon().Backdrop(), nullptr);
        Enter(window.AppIcon().Widget());
        EXPECT_EQ(window.AppIcon().Backdrop(), nullptr);
        QTest::mousePress(window.Widget(), Qt::LeftButton, {}, QPoint(100, 70));
    }));
}

// The About command waits for the window, but the game's timer goes on firing meanwhile.
TEST_F(AboutWindowTest, TimersKeepFiringWhileItIsOpen) {
    CountingTimer game;
    game.SetPeriod(10);
    game.SetMode(Timer::kModeMultiple);
    EXPECT_TRUE(ShowModalAndDo([](shell::AboutWindow& window) {
        QTimer::singleShot(300, [&window] { QTest::keyClick(window.Widget(), Qt::Key_Q); });
    }));
    EXPECT_GE(game.fired, 10);
}

// What shows: the icon at (16, 16) and the badge band of TargetSystemPict at (180, 3), both
// unscaled, on white.
TEST_F(AboutWindowTest, DrawsTheIconAndTheBadgeInTheirCorners) {
    shell::AboutWindow& window = AboutWindow();
    window.Show();
    const QImage shown = window.Widget()->grab().toImage();
    ASSERT_NE(IconPict(), nullptr);
    ASSERT_NE(TargetSystemPict(), nullptr);
    auto rgb = [&shown](int x, int y) { return shown.pixel(x, y) & 0xFFFFFFu; };
    int mismatches = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            mismatches += rgb(16 + x, 16 + y) != IconPict()->PixelAt(x, y);
        }
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            mismatches += rgb(180 + x, 3 + y) != TargetSystemPict()->PixelAt(x, 32 + y);
        }
    }
    EXPECT_EQ(mismatches, 0);
    for (auto [x, y] : {std::pair{2, 2}, std::pair{178, 2}, std::pair{197, 12}, std::pair{190, 70},
                        std::pair{8, 50}}) {
        EXPECT_EQ(rgb(x, y), 0xFFFFFFu) << x << "," << y;
    }
    window.Close();
}
