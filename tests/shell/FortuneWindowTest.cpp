#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QTest>

#include "FortuneWindow.h"
#include "ShellFixture.h"

namespace {
void ExpectGlyphs(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    for (const char32_t c : text.toUcs4()) {
        EXPECT_TRUE(metrics.inFontUcs4(c)) << "U+" << std::hex << static_cast<unsigned>(c);
    }
}
}  // namespace

TEST_F(ShellFixture, TheFortuneHaltsTheMainGameUntilItsButtonClosesIt) {
    OpenMain();
    Main().GameMenuFortune_Action();
    shell::FortuneWindow& fortune = ::FortuneWindow();
    EXPECT_TRUE(Main().ActionBlocking);
    EXPECT_EQ(fortune.Title(), "吉凶");
    EXPECT_EQ(fortune.Width(), 200);
    EXPECT_EQ(fortune.Height(), 330);
    EXPECT_EQ(fortune.CloseButton().Caption(), "閉じる");
    EXPECT_TRUE(fortune.CloseButton().Default());
    ExpectGlyphs("吉凶閉じる", fortune.CloseButton().Widget()->font());

    const int stepsBefore = Field().steps;
    Tick();
    fortune.TheFortuneHeltz_PeriodicAction(fortune.TheFortuneHeltz(), 0);
    EXPECT_EQ(Field().steps, stepsBefore);

    fortune.CloseButton().Push();
    EXPECT_TRUE(fortune.IsClosed());
    EXPECT_FALSE(Main().ActionBlocking);
    EXPECT_EQ(fortune.TheFortuneHeltz().Mode(), Timer::kModeOff);
    Tick();
    EXPECT_EQ(Field().steps, stepsBefore + 1);
}

TEST_F(ShellFixture, EscapeAndTheWindowManagersCloseLeaveTheFortuneOpen) {
    OpenMain();
    Main().GameMenuFortune_Action();
    shell::FortuneWindow& fortune = ::FortuneWindow();
    Activate(fortune);
    QTest::keyClick(fortune.Widget(), Qt::Key_Escape);
    QTest::keyClick(fortune.CloseButton().Widget(), Qt::Key_Escape);
    EXPECT_FALSE(fortune.IsClosed());

    QCloseEvent request;
    QApplication::sendEvent(fortune.Widget(), &request);
    EXPECT_FALSE(request.isAccepted());
    EXPECT_FALSE(fortune.IsClosed());
    EXPECT_TRUE(Main().ActionBlocking);
    EXPECT_FALSE(fortune.Widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));

    // Return presses the default button.
    QTest::keyClick(fortune.Widget(), Qt::Key_Return);
    EXPECT_TRUE(fortune.IsClosed());
    EXPECT_FALSE(Main().ActionBlocking);
}

TEST_F(ShellFixture, ReopeningTheFortuneBuildsANewWindow) {
    OpenMain();
    Main().GameMenuFortune_Action();
    shell::FortuneWindow* first = &::FortuneWindow();
    // Choosing it again while it is open reaches the same window.
    Main().GameMenuFortune_Action();
    EXPECT_EQ(&::FortuneWindow(), first);
    first->CloseButton().Push();

    Main().GameMenuFortune_Action();
    shell::FortuneWindow& second = ::FortuneWindow();
    EXPECT_FALSE(second.IsClosed());
    EXPECT_TRUE(Main().ActionBlocking);
    EXPECT_EQ(::Window::OpenCount(), 2);
}
