#include "Canvas.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "Graphics.h"

namespace {
class CanvasWidget : public QWidget {
public:
    explicit CanvasWidget(Canvas* owner) : owner_(owner) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Forget() { owner_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (owner_ == nullptr) {
            return;
        }
        QPainter painter(this);
        Graphics g(&painter, width(), height());
        owner_->Paint(g);
    }
    void enterEvent(QEnterEvent* /*event*/) override {
        if (owner_ != nullptr) {
            owner_->Event_MouseEnter();
        }
    }
    void leaveEvent(QEvent* /*event*/) override {
        if (owner_ != nullptr) {
            owner_->Event_MouseExit();
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (owner_ == nullptr || !owner_->Event_MouseDown(at.x(), at.y())) {
            event->ignore();  // Qt hands it on to the window's widget
        }
    }

private:
    Canvas* owner_;
};
}  // namespace

Canvas::Canvas(class Window* window) : Control(window, std::make_unique<CanvasWidget>(this)) {}

Canvas::~Canvas() {
    // The widget may outlive this object by a moment (a paint already queued): it must not
    // call back into a half-destroyed canvas.
    if (auto* widget = dynamic_cast<CanvasWidget*>(Widget())) {
        widget->Forget();
    }
}

void Canvas::SetBackdrop(PicturePtr picture) {
    backdrop_ = std::move(picture);
    Refresh(false);
}

void Canvas::Event_Paint(Graphics& /*g*/) {}

void Canvas::Event_MouseEnter() {
    if (MouseEnter) {
        MouseEnter(*this);
    }
}

void Canvas::Event_MouseExit() {
    if (MouseExit) {
        MouseExit(*this);
    }
}

bool Canvas::Event_MouseDown(std::int32_t /*x*/, std::int32_t /*y*/) {
    return false;
}

void Canvas::Paint(Graphics& g) {
    ClearRefreshMark();
    if (backdrop_ != nullptr) {
        g.DrawPicture(backdrop_, 0, 0);
    }
    Event_Paint(g);
}
