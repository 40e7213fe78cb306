#include "WindowLook.h"

#include <QPalette>
#include <QWidget>

#include "Control.h"
#include "Window.h"

namespace WindowLook {

void SetBackColor(Window& window, std::uint32_t color) {
    QWidget* widget = window.Widget();
    if (widget == nullptr) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(color & 0xFFFFFF));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void EraseBackground(Control& canvas) {
    if (QWidget* widget = canvas.Widget()) {
        widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
        widget->setAutoFillBackground(true);
    }
}

}  // namespace WindowLook
