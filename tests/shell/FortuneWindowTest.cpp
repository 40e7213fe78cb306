#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QTest>

#include "FortuneWindow.h"
#include "ShellFixture.h"
#include "SoundItems.h"

TEST_F(ShellFixture, TheFortuneHaltsTheMainGameUntilItsButtonClosesIt) {
    OpenMain();
    EXPECT_TRUE(Main().GameMenuFortune_Action());
    shell::FortuneWindow& fortune = ::FortuneWindow();
    EXPECT_TRUE(Main().ActionBlocking);
    EXPECT_EQ(fortune.CloseButton().Caption(), "閉じる");
    EXPECT_TRUE(fortune.CloseButton().Default());
    EXPECT_EQ(fortune.CloseButton().TextSize(), 12);
    ExpectGlyphs("吉凶閉じる", fortune.CloseButton().Widget()->font());

    // Its own first tick comes once 100 ms have passed, on a 20 ms timer: it steps and paints the
    // fortune and plays the shared queue, while the main tick does nothing.
    PeriodicTimer& heltz = fortune.TheFortuneHeltz();
    EXPECT_EQ(heltz.Mode(), Timer::kModeMultiple);
    EXPECT_EQ(heltz.Period(), 20);
    FortuneField& field = fortune.TheFortuneField();
    const QImage firstFrame = field.Widget()->grab().toImage();
    Main().ItsSoundPlayer->PushQueue(SoundVolSnd(), 1);
    now_ = 99'999;
    heltz.Event_Action();
    EXPECT_EQ(Main().ItsSoundPlayer->RefQueueBound(), 0);
    now_ = 100'001;
    heltz.Event_Action();
    EXPECT_EQ(Main().ItsSoundPlayer->RefQueueBound(), -1);
    EXPECT_FALSE(field.IsRefreshPending());
    // The god comes down 1 px a tick from at most 44 px above the field.
    for (int tick = 1; tick < 45; ++tick) {
        Tick(heltz);
    }
    EXPECT_NE(field.Widget()->grab().toImage(), firstFrame);
    Tick();
    EXPECT_EQ(Field().steps, 0);

    fortune.CloseButton().Push();
    EXPECT_TRUE(fortune.IsClosed());
    EXPECT_FALSE(Main().ActionBlocking);
    EXPECT_EQ(heltz.Mode(), Timer::kModeOff);
    Tick();
    EXPECT_EQ(Field().steps, 1);
}

// Escape and the window manager's close leave the fortune open; Return presses "閉じる". Choosing
// the fortune again reaches the open window; after a close it builds a new one.
TEST_F(ShellFixture, OnlyItsButtonClosesTheFortuneAndReopeningBuildsANewOne) {
    OpenMain();
    Main().GameMenuFortune_Action();
    shell::FortuneWindow* first = &::FortuneWindow();
    Activate(*first);
    QTest::keyClick(first->Widget(), Qt::Key_Escape);
    QTest::keyClick(first->CloseButton().Widget(), Qt::Key_Escape);
    QCloseEvent request;
    QApplication::sendEvent(first->Widget(), &request);
    EXPECT_FALSE(request.isAccepted());
    EXPECT_FALSE(first->IsClosed());
    Main().GameMenuFortune_Action();
    EXPECT_EQ(&::FortuneWindow(), first);

    QTest::keyClick(first->Widget(), Qt::Key_Return);
    EXPECT_TRUE(first->IsClosed());
    EXPECT_FALSE(Main().ActionBlocking);
    Main().GameMenuFortune_Action();
    QApplication::processEvents();  // the closed window goes; the new one stays
    EXPECT_TRUE(::FortuneWindow().Widget()->isVisible());
    EXPECT_TRUE(Main().ActionBlocking);
    EXPECT_EQ(::Window::OpenCount(), 2);
}
