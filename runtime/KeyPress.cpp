#include "KeyPress.h"

#include <QKeyEvent>

namespace {
bool IsModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_unknown:
            return true;
        default:
            return false;
    }
}
}  // namespace

bool IsKeyDown(const QKeyEvent& event) {
    if (event.type() != QEvent::KeyPress || IsModifierKey(event.key())) {
        return false;
    }
    return !event.modifiers().testFlag(Qt::ControlModifier);
}

std::string KeyDownText(const QKeyEvent& event) {
    if (!event.text().isEmpty()) {
        return event.text().toStdString();
    }
    constexpr char32_t kPrivateUseBase = 0xF000;
    const char32_t code = kPrivateUseBase + static_cast<char32_t>(event.key() & 0x0FFF);
    return QString::fromUcs4(&code, 1).toStdString();
}
