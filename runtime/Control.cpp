#include "Control.h"

#include <QCursor>
#include <QPointer>
#include <QWidget>

#include "Window.h"

struct Control::Impl {
    QPointer<QWidget> widget;
    // Set only for a control without a window; otherwise Qt's parent owns the widget.
    std::unique_ptr<QWidget> owned;
};

Control::Control(class Window* window) : Control(window, std::make_unique<QWidget>()) {}

Control::Control(class Window* window, std::unique_ptr<QWidget> widget)
    : impl_(std::make_unique<Impl>()), window_(window) {
    Attach(std::move(widget));
    if (window_ != nullptr) {
        window_->AddControl(this);
    }
}

void Control::Attach(std::unique_ptr<QWidget> widget) {
    impl_->widget = widget.get();
    if (window_ != nullptr && window_->Widget() != nullptr) {
        widget->setParent(window_->Widget());
        widget.release()->show();  // owned by the window's widget from here on
    } else {
        impl_->owned = std::move(widget);
    }
}

Control::~Control() {
    if (window_ != nullptr) {
        window_->RemoveControl(this);
    }
    if (impl_->owned == nullptr && impl_->widget != nullptr) {
        delete impl_->widget.data();  // a child of a window that outlives this control
    }
}

std::int32_t Control::ContentTop() const {
    return window_ != nullptr ? window_->ContentTop() : 0;
}

QWidget* Control::Widget() const {
    return impl_->widget.data();
}

std::int32_t Control::Left() const {
    return Widget() ? Widget()->x() : 0;
}
// Window coordinates start below the window's menu bar.
std::int32_t Control::Top() const {
    return Widget() ? Widget()->y() - ContentTop() : 0;
}
std::int32_t Control::Width() const {
    return Widget() ? Widget()->width() : 0;
}
std::int32_t Control::Height() const {
    return Widget() ? Widget()->height() : 0;
}

void Control::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                        std::int32_t height) {
    if (QWidget* w = Widget()) {
        w->setGeometry(left, top + ContentTop(), std::max(width, 0), std::max(height, 0));
    }
}

bool Control::Visible() const {
    return Widget() && !Widget()->isHidden();
}

void Control::SetVisible(bool visible) {
    if (QWidget* w = Widget()) {
        w->setVisible(visible);
    }
}

bool Control::Enabled() const {
    return Widget() && Widget()->isEnabled();
}

void Control::SetEnabled(bool enabled) {
    if (QWidget* w = Widget()) {
        w->setEnabled(enabled);
    }
}

std::int32_t Control::MouseX() const {
    QWidget* w = Widget();
    return w ? w->mapFromGlobal(QCursor::pos()).x() + Left() : 0;
}

std::int32_t Control::MouseY() const {
    QWidget* w = Widget();
    return w ? w->mapFromGlobal(QCursor::pos()).y() + Top() : 0;
}

void Control::Refresh(bool /*eraseBackground*/) {
    refreshPending_ = true;
    if (QWidget* w = Widget()) {
        w->update();
    }
}

void Control::RepaintIfMarked() {
    if (!refreshPending_) {
        return;
    }
    refreshPending_ = false;
    QWidget* w = Widget();
    if (w != nullptr && w->isVisible()) {
        w->repaint();
    }
}
