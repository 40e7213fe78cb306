#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "Appl.h"
#include "HelpTexts.h"
#include "HelpWindow.h"
#include "Menu.h"

namespace {

class HelpWindowTest : public testing::Test {
protected:
    void SetUp() override { app.SetMenuBar(::Menu()); }
    void TearDown() override {
        shell::ReleaseHelpWindow();
        ReleaseMenu();
    }

    static std::array<TextArea*, 6> Areas(shell::HelpWindow& w) {
        return {&w.EditField1(), &w.EditField2(), &w.EditField3(),
                &w.EditField4(), &w.EditField5(), &w.EditField6()};
    }

    static void Activate(Window& window) {
        window.Show();
        QApplication::setActiveWindow(window.Widget());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.Widget()));
    }

    // Lets the event loop run what a close left for it, such as letting the window go.
    static void Settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }

    shell::Appl app;
};

}  // namespace

TEST_F(HelpWindowTest, ShowsTheSixTextsReadOnlyOnTabsInOrder) {
    shell::HelpWindow& window = HelpWindow();
    window.Show();
    EXPECT_EQ(window.Title(), "Tembroloの説明");
    EXPECT_EQ(window.Width(), 400);
    EXPECT_EQ(window.Height(), 370);
    EXPECT_TRUE(window.CloseBox());

    TabPanel& panel = window.TabPanel1();
    const char* captions[] = {"目的", "操作", "解説", "履歴", "使用条件", "感謝"};
    ASSERT_EQ(panel.TabCount(), 6);
    const auto areas = Areas(window);
    for (std::int32_t tab = 0; tab < 6; ++tab) {
        EXPECT_EQ(panel.Caption(tab), captions[tab]);
        TextArea& area = *areas[static_cast<std::size_t>(tab)];
        EXPECT_EQ(area.Text(), HelpText(tab + 1)) << captions[tab];
        EXPECT_TRUE(area.ReadOnly());
        EXPECT_EQ(area.TextSize(), 12);
        EXPECT_EQ(area.Left(), 6);
        EXPECT_EQ(area.Width(), 388);
        // Only the selected tab's text shows.
        panel.SetValue(tab);
        for (std::int32_t other = 0; other < 6; ++other) {
            EXPECT_EQ(areas[static_cast<std::size_t>(other)]->Visible(), other == tab);
        }
    }
    EXPECT_EQ(panel.TextSize(), 9);
}

TEST_F(HelpWindowTest, EveryCharacterOfTheTextsHasAGlyph) {
    shell::HelpWindow& window = HelpWindow();
    for (TextArea* area : Areas(window)) {
        const QFontMetrics metrics(area->Widget()->font());
        const QString text = QString::fromStdString(area->Text());
        for (char32_t c : text.toUcs4()) {
            if (c != U'\r') {
                EXPECT_TRUE(metrics.inFontUcs4(c)) << "U+" << std::hex << std::uint32_t{c};
            }
        }
    }
}

TEST_F(HelpWindowTest, ASecondHelpCommandReusesTheOpenWindow) {
    ASSERT_TRUE(app.HelpApp_Action());
    shell::HelpWindow* first = &HelpWindow();
    first->TabPanel1().SetValue(3);
    const std::int32_t windows = app.WindowCount();
    ASSERT_TRUE(app.HelpApp_Action());
    EXPECT_EQ(&HelpWindow(), first);
    EXPECT_EQ(app.WindowCount(), windows);
    EXPECT_EQ(first->TabPanel1().Value(), 3);  // as the user left it
}

TEST_F(HelpWindowTest, AReopenedWindowStartsOnTheFirstTabAtTheTop) {
    app.HelpApp_Action();
    shell::HelpWindow& first = HelpWindow();
    auto* edit = static_cast<QPlainTextEdit*>(first.EditField2().Widget());
    first.TabPanel1().SetValue(1);
    edit->moveCursor(QTextCursor::End);
    edit->ensureCursorVisible();
    ASSERT_GT(first.EditField2().ScrollPosition(), 0);
    first.Close();
    Settle();

    app.HelpApp_Action();
    shell::HelpWindow& again = HelpWindow();
    EXPECT_FALSE(again.IsClosed());
    EXPECT_EQ(again.TabPanel1().Value(), 0);
    EXPECT_TRUE(again.EditField1().Visible());
    EXPECT_FALSE(again.EditField2().Visible());
    for (TextArea* area : Areas(again)) {
        EXPECT_EQ(area->ScrollPosition(), 0);
    }
}

TEST_F(HelpWindowTest, CloseIsEnabledOnlyWhileTheHelpWindowIsInFront) {
    Window other;
    other.SetSize(100, 100);
    shell::HelpWindow& help = HelpWindow();

    Activate(help);
    app.RunEnablingPass();
    EXPECT_TRUE(FileClose()->Enabled);

    Activate(other);
    app.RunEnablingPass();
    EXPECT_FALSE(FileClose()->Enabled);
    QTest::keyClick(other.Widget(), Qt::Key_W, Qt::ControlModifier);
    Settle();
    EXPECT_FALSE(help.IsClosed());
    EXPECT_FALSE(other.IsClosed());

    Activate(help);
    QTest::keyClick(help.Widget(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(help.IsClosed());
    EXPECT_FALSE(other.IsClosed());
    other.Close();
}

TEST_F(HelpWindowTest, TheFileMenusCloseCommandClosesIt) {
    shell::HelpWindow& help = HelpWindow();
    Activate(help);
    app.MenuCommand(*FileClose());
    EXPECT_TRUE(help.IsClosed());
}
