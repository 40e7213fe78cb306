#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "Appl.h"
#include "HelpTexts.h"
#include "HelpWindow.h"
#include "Menu.h"
#include "ShellFixture.h"

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

// Six tabs, each with its text in a read-only area that only shows while its tab is selected;
// every character has a glyph, and typing changes nothing.
TEST_F(HelpWindowTest, ShowsTheSixTextsReadOnlyOnTabsInOrder) {
    shell::HelpWindow& window = HelpWindow();
    Activate(window);
    TabPanel& panel = window.TabPanel1();
    const char* captions[] = {"目的", "操作", "解説", "履歴", "使用条件", "感謝"};
    ASSERT_EQ(panel.TabCount(), 6);
    const auto areas = Areas(window);
    for (std::int32_t tab = 0; tab < 6; ++tab) {
        EXPECT_EQ(panel.Caption(tab), captions[tab]);
        TextArea& area = *areas[static_cast<std::size_t>(tab)];
        EXPECT_EQ(area.Text(), HelpText(tab + 1)) << captions[tab];
        EXPECT_EQ(area.TextSize(), 12);
        ExpectGlyphs(QString::fromStdString(area.Text()), area.Widget()->font());
        panel.SetValue(tab);
        for (std::int32_t other = 0; other < 6; ++other) {
            EXPECT_EQ(areas[static_cast<std::size_t>(other)]->Visible(), other == tab);
        }
    }
    EXPECT_EQ(panel.TextSize(), 9);

    QWidget* edit = window.EditField6().Widget();
    edit->setFocus();
    QTest::keyClicks(edit, "xyz");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window.EditField6().Text(), HelpText(6));
}

// While the window is open the command brings back the same one, as the user left it; after a
// close it builds a new one on the first tab, scrolled to the top.
TEST_F(HelpWindowTest, TheHelpCommandReusesAnOpenWindowAndRebuildsAClosedOne) {
    ASSERT_TRUE(app.HelpApp_Action());
    shell::HelpWindow* first = &HelpWindow();
    first->TabPanel1().SetValue(1);
    auto* edit = static_cast<QPlainTextEdit*>(first->EditField2().Widget());
    edit->moveCursor(QTextCursor::End);
    edit->ensureCursorVisible();
    const std::int32_t scrolled = first->EditField2().ScrollPosition();
    ASSERT_GT(scrolled, 0);
    ASSERT_TRUE(app.HelpApp_Action());
    EXPECT_EQ(&HelpWindow(), first);
    EXPECT_EQ(app.WindowCount(), 1);
    EXPECT_EQ(first->TabPanel1().Value(), 1);
    EXPECT_EQ(first->EditField2().ScrollPosition(), scrolled);

    first->Close();
    app.HelpApp_Action();
    Settle();  // the closed window goes, the new one stays
    shell::HelpWindow& again = HelpWindow();
    EXPECT_TRUE(again.Widget()->isVisible());
    EXPECT_EQ(again.TabPanel1().Value(), 0);
    EXPECT_TRUE(again.EditField1().Visible());
    EXPECT_FALSE(again.EditField2().Visible());
    for (TextArea* area : Areas(again)) {
        EXPECT_EQ(area->ScrollPosition(), 0);
    }
}

TEST_F(HelpWindowTest, CloseIsEnabledOnlyWhileTheHelpWindowIsInFrontAndClosesIt) {
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
    // The item is looked up in the application's bar: without one there is none to enable.
    app.SetMenuBar(nullptr);
    EXPECT_THROW(FileClose(), std::logic_error);
}
