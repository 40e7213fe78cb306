#include "TextArea.h"

#include <QPlainTextEdit>
#include <QScrollBar>

#include "TextFont.h"

namespace {
QPlainTextEdit* AsEdit(QWidget* widget) {
    return static_cast<QPlainTextEdit*>(widget);
}

constexpr QChar kCR = u'\r';
constexpr QChar kLF = u'\n';
}  // namespace

TextArea::TextArea(class Window* window) : Control(window, std::make_unique<QPlainTextEdit>()) {
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
        // and Ctrl+Home and Ctrl+End scroll it. The cursor that the keys move is drawn 0 pixels
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
