#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <array>
#include <memory>
#include <tuple>

#include "JapaneseQtTexts.h"
#include "Label.h"
#include "PushButton.h"
#include "TabPanel.h"
#include "TextArea.h"
#include "Window.h"

// A click, Push, and Return or Enter while the button is the default one; none while disabled.
TEST(PushButtonTest, ActionComesWithTheButtonFromEveryWayToPushIt) {
    Window window;
    window.SetSize(200, 100);
    PushButton button(&window);
    button.SetCaption("閉じる");
    int actions = 0;
    button.Action = [&](PushButton& sender) {
        EXPECT_EQ(&sender, &button);
        ++actions;
    };
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.Widget()));
    QTest::mouseClick(button.Widget(), Qt::LeftButton);
    button.Push();
    QTest::keyClick(window.Widget(), Qt::Key_Return);  // not the default button yet
    EXPECT_EQ(actions, 2);
    button.SetDefault(true);
    QTest::keyClick(window.Widget(), Qt::Key_Return);
    QTest::keyClick(window.Widget(), Qt::Key_Enter);
    EXPECT_EQ(actions, 4);
    button.SetDefault(false);
    QTest::keyClick(window.Widget(), Qt::Key_Return);
    button.SetEnabled(false);
    button.Push();
    QTest::mouseClick(button.Widget(), Qt::LeftButton);
    EXPECT_EQ(actions, 4);
    EXPECT_EQ(button.Caption(), "閉じる");
}

// Sizes are points of a 72 dpi screen: 12 means 12 pixels on any screen, and the face must have
// the Japanese glyphs the windows show.
TEST(ControlFontTest, TextSizesArePixelsInAFaceWithJapaneseGlyphs) {
    Window window;
    PushButton button(&window);
    Label label(&window);
    TextArea area(&window);
    TabPanel panel(&window);
    button.SetTextSize(12);
    label.SetTextSize(12);
    area.SetTextSize(12);
    panel.SetTextSize(9);

    const QWidget* tabBar = static_cast<QTabWidget*>(panel.Widget())->tabBar();
    for (auto [widget, size] : std::initializer_list<std::pair<const QWidget*, int>>{
             {button.Widget(), 12}, {label.Widget(), 12}, {area.Widget(), 12}, {tabBar, 9}}) {
        EXPECT_EQ(widget->font().pixelSize(), size);
        const QFontMetrics metrics(widget->font());
        for (char32_t glyph : {U'閉', U'説', U'の', U'ゲ', U'　', U'１', U'■'}) {
            EXPECT_TRUE(metrics.inFontUcs4(glyph)) << static_cast<std::uint32_t>(glyph);
        }
    }
}

// Labels and text areas are black on white whatever the desktop's colours: here a dark theme.
TEST(LabelTest, ShowsItsTextAlignedAndColouredAsAsked) {
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(QPalette(Qt::white, Qt::black, Qt::black, Qt::black, Qt::black,
                                      Qt::white, Qt::white, Qt::black, Qt::black));
    Label label(nullptr);
    TextArea area(nullptr);
    label.SetText("Tembrolo 11.0.0");
    auto* shown = static_cast<QLabel*>(label.Widget());
    EXPECT_EQ(shown->text(), "Tembrolo 11.0.0");
    EXPECT_TRUE(shown->alignment() & Qt::AlignLeft);
    label.SetTextAlign(Label::kAlignRight);
    EXPECT_TRUE(shown->alignment() & Qt::AlignRight);
    const QPalette areaColours = area.Widget()->palette();
    EXPECT_EQ((std::array{shown->palette().color(QPalette::WindowText),
                          areaColours.color(QPalette::Text), areaColours.color(QPalette::Base)}),
              (std::array<QColor, 3>{Qt::black, Qt::black, Qt::white}));
    label.SetTextColor(0x990000);
    EXPECT_EQ(shown->palette().color(QPalette::WindowText), QColor::fromRgb(0x990000));
    QApplication::setPalette(desktop);
}

// Read-only text shows no cursor, and its right-click menu is in Japanese.
TEST(TextAreaTest, ReadOnlyAreaShowsNoCursorAndTakesNoTypingPastingOrDeleting) {
    Window window;
    window.SetSize(300, 200);
    TextArea area(&window);
    area.SetBounds(0, 0, 300, 200);
    area.SetText("　変えられない\r");
    area.SetReadOnly(true);
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.Widget()));
    auto* edit = static_cast<QPlainTextEdit*>(area.Widget());
    QWidget* viewport = edit->viewport();
    area.Widget()->clearFocus();
    const QImage unfocused = viewport->grab().toImage();
    area.Widget()->setFocus();
    EXPECT_TRUE(viewport->grab().toImage() == unfocused);
    ASSERT_TRUE(UseJapaneseQtTexts());
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions()) {
        items << action->text();
    }
    EXPECT_EQ(items, (QStringList{"コピー(&C)\tCtrl+C", "", "すべてを選択\tCtrl+A"}));

    QTest::keyClicks(area.Widget(), "abc");
    QTest::keyClick(area.Widget(), Qt::Key_Backspace);
    QTest::keyClick(area.Widget(), Qt::Key_Delete);
    QTest::keyClick(area.Widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(area.Text(), "　変えられない\r");
    EXPECT_TRUE(area.ReadOnly());
    // A short text shows its scroll bar all the same.
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(area.Widget())->verticalScrollBar()->isVisible());
    area.SetReadOnly(false);
    EXPECT_FALSE(area.ReadOnly());
    EXPECT_FALSE(viewport->grab().toImage() == unfocused);  // the cursor an editable one shows
}

// A CR, a CR LF pair or a LF ends a line; Text gives CRs back. Read-only, the text scrolls with
// Ctrl+End and Ctrl+Home and is selected with Shift and the arrows; the plain arrow and page keys,
// Home and End scroll the view at once, wherever a click left the cursor, and Shift with an arrow
// then selects from the view's first line. Editable, the plain keys move the cursor.
TEST(TextAreaTest, LinesAreShownReadBackUnchangedAndScrolledToTheTop) {
    Window window;
    window.SetSize(200, 60);
    TextArea area(&window);
    area.SetBounds(0, 0, 200, 60);
    std::string text = "　一行目\r\r　三行目\r";
    for (int i = 0; i < 50; ++i) {
        text += "　行\r";
    }
    area.SetText(text + "\r\n　終わり\n");
    area.SetReadOnly(true);
    window.Show();
    auto* edit = static_cast<QPlainTextEdit*>(area.Widget());
    EXPECT_EQ(edit->document()->blockCount(), 56);  // and the empty line after the last end
    EXPECT_EQ(edit->document()->findBlockByNumber(2).text(), "　三行目");
    EXPECT_EQ(area.Text(), text + "\r　終わり\r");
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(area.ScrollPosition(), edit->verticalScrollBar()->maximum());
    QTest::keyClick(edit, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(edit->textCursor().selectedText(), "　終わり\u2029");
    QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(area.ScrollPosition(), 0);
    QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
    ASSERT_GT(area.ScrollPosition(), 0);
    area.ScrollToTop();
    EXPECT_EQ(area.ScrollPosition(), 0);

    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, QPoint(40, 45));
    const int clickedAt = edit->textCursor().position();
    ASSERT_EQ(edit->textCursor().block().blockNumber(), 2);  // the third line
    ASSERT_GT(edit->textCursor().positionInBlock(), 0);
    const int page = edit->verticalScrollBar()->pageStep();
    const int last = edit->verticalScrollBar()->maximum();
    ASSERT_GE(page, 2);
    // Key, modifiers; the view's first line, and the line at whose start the cursor is after it
    // (kClicked: where the click left it). A line of this text is a line of the view.
    constexpr int kClicked = -1;
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int> keys[] = {
        {Qt::Key_Down, {}, 1, kClicked},
        {Qt::Key_Down, Qt::KeypadModifier, 2, kClicked},  // the view's first line
        {Qt::Key_Down, {}, 3, 3},                         // the line above the view
        {Qt::Key_PageDown, {}, 3 + page, 3 + page},
        {Qt::Key_PageUp, {}, 3, 3},  // the line below the view
        {Qt::Key_Up, {}, 2, 3},
        {Qt::Key_End, {}, last, last},
        {Qt::Key_Home, {}, 0, 0},
        {Qt::Key_PageDown, {}, page, page}};
    for (const auto& [key, modifiers, position, line] : keys) {
        const std::string name = QKeySequence(key).toString().toStdString();
        QTest::keyClick(edit, key, modifiers);
        EXPECT_EQ(area.ScrollPosition(), position) << name;
        EXPECT_EQ(
            edit->textCursor().position(),
            line == kClicked ? clickedAt : edit->document()->findBlockByNumber(line).position())
            << name;
    }
    QTest::keyClick(edit, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(edit->textCursor().selectedText(), "　行\u2029");
    EXPECT_EQ(area.ScrollPosition(), page);
    QTest::keyClick(edit, Qt::Key_Down);  // the selection stays where it is
    EXPECT_EQ(area.ScrollPosition(), page + 1);
    EXPECT_EQ(edit->textCursor().selectedText(), "　行\u2029");

    area.SetReadOnly(false);
    area.ScrollToTop();
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(area.ScrollPosition(), 0);
    EXPECT_EQ(edit->textCursor().blockNumber(), 1);
}

TEST(TabPanelTest, OnlyTheSelectedPagesControlsShow) {
    Window window;
    window.SetSize(300, 200);
    TabPanel panel(&window);
    panel.SetTabDefinition("古い\r定義\r");
    panel.SetTabDefinition("目的\r操作\r解説");  // in place of the old tabs
    Label first(&window);
    Label second(&window);
    Label third(&window);
    Label offPanel(&window);
    panel.AddToPage(first, 0);
    panel.AddToPage(second, 1);
    panel.AddToPage(third, 1);
    window.Show();

    EXPECT_EQ(std::tuple(panel.TabCount(), panel.Caption(1), panel.Value()),
              std::tuple(3, "操作", 0));
    struct Case {
        std::int32_t value;
        bool first, second, third;
    };
    for (const Case& c : {Case{0, true, false, false}, Case{1, false, true, true},
                          Case{2, false, false, false}, Case{7, false, false, false},
                          Case{-1, false, false, false}, Case{0, true, false, false}}) {
        panel.SetValue(c.value);
        EXPECT_EQ(
            (std::array{first.Visible(), second.Visible(), third.Visible(), offPanel.Visible()}),
            (std::array{c.first, c.second, c.third, true}))
            << c.value;
    }

    // A click on a tab selects it as SetValue does.
    QTabBar* bar = static_cast<QTabWidget*>(panel.Widget())->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(std::tuple(panel.Value(), first.Visible(), second.Visible()),
              std::tuple(1, false, true));
}
