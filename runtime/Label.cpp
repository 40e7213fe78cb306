#include "Label.h"

#include <QLabel>

#include "TextFont.h"

namespace {
QLabel* AsLabel(QWidget* widget) {
    return static_cast<QLabel*>(widget);
}
}  // namespace

Label::Label(class Window* window) : Control(window, std::make_unique<QLabel>()) {
    if (QLabel* label = AsLabel(Widget())) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(false);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
    }
    SetTextColor(textColor_);
}

std::string Label::Text() const {
    QLabel* label = AsLabel(Widget());
    return label ? label->text().toStdString() : std::string();
}

void Label::SetText(const std::string& text) {
    if (QLabel* label = AsLabel(Widget())) {
        label->setText(QString::fromStdString(text));
    }
}

void Label::SetTextSize(std::int32_t size) {
    textSize_ = size;
    if (QWidget* w = Widget()) {
        ApplyTextFont(*w, size);
    }
}

void Label::SetTextAlign(std::int32_t align) {
    textAlign_ = align;
    QLabel* label = AsLabel(Widget());
    if (label == nullptr) {
        return;
    }
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (align == kAlignCenter) {
        horizontal = Qt::AlignHCenter;
    } else if (align == kAlignRight) {
        horizontal = Qt::AlignRight;
    }
    label->setAlignment(horizontal | Qt::AlignVCenter);
}

void Label::SetTextColor(std::uint32_t color) {
    textColor_ = color & 0xFFFFFF;
    if (QWidget* w = Widget()) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(textColor_));
        w->setPalette(palette);
    }
}
