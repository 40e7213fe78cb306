#include "TextArea.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <optional>

#include "TextFont.h"

namespace {
// How a plain key moves a read-only text's view, if it does.
std::optional<QAbstractSlider::SliderAction> ViewMove(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (event.key()) {
        case Qt::Key_Up:
            return QAbstractSlider::SliderSingleStepSub;
        case Qt::Key_Down:
            return QAbstractSlider::SliderSingleStepAdd;
        case Qt::Key_PageUp:
            return QAbstractSlider::SliderPageStepSub;
        case Qt::Key_PageDown:
            return QAbstractSlider::SliderPageStepAdd;
        case Qt::Key_Home:
            return QAbstractSlider::SliderToMinimum;
        case Qt::Key_End:
            return QAbstractSlider::SliderToMaximum;
        default:
            return std::nullopt;
    }
}

// Read-only text is read like a page: the plain arrow, page, Home and End keys scroll the view
// at once (by a line, a page, to an end), not the unseen cursor that keyboard selection moves.
// A cursor the view leaves behind comes to the view's first line, unless it holds a selection,
// so that Shift with the arrows selects from what is shown.
class TextEdit final : public QPlainTextEdit {
protected:
    void keyPressEvent(QKeyEvent* event) override {
        const auto move = isReadOnly() ? ViewMove(*event) : std::nullopt;
        if (!move) {
            QPlainTextEdit::keyPressEvent(event);
            return;
        }
        verticalScrollBar()->triggerAction(*move);
        KeepCursorInView();
    }

private:
    // The visual line the cursor is on (a wrapped paragraph has several), counted from the top as
    // the scroll bar counts them.
    int CursorLine() const {
        const QTextCursor cursor = textCursor();
        return cursor.block().firstLineNumber() +
               cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber();
    }

    // In view are the scroll bar's page of whole lines from its value on.
    void KeepCursorInView() {
        const int top = verticalScrollBar()->value();
        const int line = CursorLine();
        if (textCursor().hasSelection() ||
            (line >= top && line < top + verticalScrollBar()->pageStep())) {
            return;
        }
        setTextCursor(cursorForPosition(QPoint(0, 0)));
        verticalScrollBar()->setValue(top);  // the cursor at the top, the view where it was
    }
};

QPlainTextEdit* AsEdit(QWidget* widget) {
    return static_cast<QPlainTextEdit*>(widget);
}

constexpr QChar kCR = u'\r';
constexpr QChar kLF = u'\n';
}  // namespace

TextArea::TextArea(class Window* window) : Control(window, std::make_unique<TextEdit>()) {
    QPlainTextEdit* edit = AsEdit(Widget());
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setTabChangesFocus(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
}

std::string TextArea::Text() const {
    QPlainTextEdit* edit = AsEdit(Widget());
    if (edit == nullptr) {
        return {};
    }
    return edit->toPlainText().replace(kLF, kCR).toStdString();
}

void TextArea::SetText(const std::string& text) {
    if (QPlainTextEdit* edit = AsEdit(Widget())) {
        // A CR LF pair is one line end, as is a lone CR or LF.
        QString shown = QString::fromStdString(text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(kCR, kLF);
        edit->setPlainText(shown);
    }
}

bool TextArea::ReadOnly() const {
    QPlainTextEdit* edit = AsEdit(Widget());
    return edit != nullptr && edit->isReadOnly();
}

void TextArea::SetReadOnly(bool readOnly) {
    if (QPlainTextEdit* edit = AsEdit(Widget())) {
        edit->setReadOnly(readOnly);
        // Read-only text can still be selected, by mouse or by Shift with the arrows, and copied,
        // and Ctrl+Home and Ctrl+End scroll it. The cursor that those keys move is drawn 0 pixels
        // wide: with nothing to type, a blinking one would only mislead.
        edit->setTextInteractionFlags(readOnly
                                          ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                          : Qt::TextEditorInteraction);
        edit->setCursorWidth(readOnly ? 0 : 1);
    }
}

void TextArea::SetTextSize(std::int32_t size) {
    textSize_ = size;
    if (QWidget* w = Widget()) {
        ApplyTextFont(*w, size);
    }
}

std::int32_t TextArea::ScrollPosition() const {
    QPlainTextEdit* edit = AsEdit(Widget());
    return edit ? edit->verticalScrollBar()->value() : 0;
}

void TextArea::ScrollToTop() {
    if (QPlainTextEdit* edit = AsEdit(Widget())) {
        edit->moveCursor(QTextCursor::Start);
        edit->verticalScrollBar()->setValue(0);
    }
}
