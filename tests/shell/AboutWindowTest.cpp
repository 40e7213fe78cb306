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
#include "Appl.h"
#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "Timer.h"

namespace {

constexpr int kGiveUpMs = 3000;

class AboutWindowTest : public testing::Test {
protected:
    void SetUp() override { SetResourcesFolder(TEMBROLO_SOURCE_DIR "/resources"); }
    void TearDown() override { shell::ReleaseAboutWindow(); }

    // Runs the About command, which shows the window modally, and `act` on the window from inside
    // the modal loop. True when the command came back handled because the window closed.
    bool ShowModalAndDo(const std::function<void(shell::AboutWindow&)>& act) {
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
        return app.AppleAbout_Action() && !gaveUp && window.IsClosed();
    }

    static void Enter(QWidget* widget) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(widget, &enter);
    }
    static void Leave(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }

    shell::Appl app;
};

class CountingTimer : public Timer {
public:
    void Event_Action() override { ++fired; }
    int fired = 0;
};

}  // namespace

TEST_F(AboutWindowTest, EveryKeyAndEveryMousePressClosesIt) {
    using Act = std::function<void(shell::AboutWindow&)>;
    std::vector<Act> acts;
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Z, Qt::Key_5, Qt::Key_Space, Qt::Key_Return,
                        Qt::Key_Escape, Qt::Key_Left, Qt::Key_Tab}) {
        acts.push_back([key](shell::AboutWindow& w) { QTest::keyClick(w.Widget(), key); });
    }
    for (auto target : {+[](shell::AboutWindow& w) { return w.Widget(); },
                        +[](shell::AboutWindow& w) { return w.AppName().Widget(); },
                        +[](shell::AboutWindow& w) { return w.AppCopy().Widget(); },
                        +[](shell::AboutWindow& w) { return w.AppIcon().Widget(); }}) {
        acts.push_back([target](shell::AboutWindow& w) {
            QTest::mousePress(target(w), Qt::LeftButton, {}, QPoint(2, 2));
        });
    }
    for (std::size_t n = 0; n < acts.size(); ++n) {
        EXPECT_TRUE(ShowModalAndDo(acts[n])) << "way " << n;
    }
}

// Every crossing of the icon's edge swaps icon and logo. Every opening starts with the icon, even
// when the logo showed as the window closed.
TEST_F(AboutWindowTest, TheLogoShowsWhileTheMouseIsOverTheIconAndEveryOpeningStartsWithTheIcon) {
    ASSERT_NE(IconPict(), nullptr);
    ASSERT_NE(QuillmoorPict(), nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_TRUE(ShowModalAndDo([](shell::AboutWindow& window) {
            Canvas& icon = window.AppIcon();
            EXPECT_EQ(icon.Backdrop(), IconPict());
            for (int crossing = 0; crossing < 3; ++crossing) {
                Enter(icon.Widget());
                EXPECT_EQ(icon.Backdrop(), QuillmoorPict()) << crossing;
                Leave(icon.Widget());
                EXPECT_EQ(icon.Backdrop(), IconPict()) << crossing;
            }
            Enter(icon.Widget());
            QTest::keyClick(window.Widget(), Qt::Key_X);
        })) << opening;
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

// The name and the rights line in 12-point text; the icon at (16, 16) and the badge band of
// TargetSystemPict at (180, 3), both unscaled, on white.
TEST_F(AboutWindowTest, NamesTheProgramAndDrawsTheIconAndTheBadgeInTheirCorners) {
    shell::AboutWindow& window = AboutWindow();
    window.Show();
    EXPECT_EQ(window.AppName().Text(), "Tembrolo 11.0.0");
    EXPECT_NE(window.AppCopy().Text().find("2012"), std::string::npos);
    EXPECT_NE(window.AppCopy().Text().find("Quillmoor"), std::string::npos);
    EXPECT_EQ(window.AppName().TextSize(), 12);
    EXPECT_EQ(window.AppCopy().TextSize(), 12);
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
    // Without a picture the icon shows the window's white, not whatever was there.
    window.AppIcon().SetBackdrop(nullptr);
    EXPECT_EQ(window.Widget()->grab().toImage().pixel(20, 20) & 0xFFFFFFu, 0xFFFFFFu);

    // The window manager's close request is refused; only a key or a press closes it.
    window.Widget()->close();
    EXPECT_FALSE(window.IsClosed());
    window.Close();
}
