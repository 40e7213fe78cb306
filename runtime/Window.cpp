#include "Window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "Application.h"
#include "Control.h"

namespace {
std::vector<Window*>& OpenWindows() {
    static std::vector<Window*> windows;
    return windows;
}

void Forget(Window* window) {
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

// Keys without text get the control characters the game's key handlers expect.
std::string KeyText(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Left:
            return "\x1C";
        case Qt::Key_Right:
            return "\x1D";
        case Qt::Key_Up:
            return "\x1E";
        case Qt::Key_Down:
            return "\x1F";
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return "\r";
        case Qt::Key_Escape:
            return "\x1B";
        case Qt::Key_Tab:
            return "\t";
        case Qt::Key_Backspace:
            return "\b";
        case Qt::Key_Delete:
            return "\x7F";
        default:
            return event.text().toStdString();
    }
}

class WindowWidget : public QWidget {
public:
    explicit WindowWidget(Window* owner) : owner_(owner) { setFocusPolicy(Qt::StrongFocus); }
    void Forget() { owner_ = nullptr; }
    // Set while the window's own Close hides the widget.
    bool closing = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (owner_ == nullptr || closing || owner_->IsClosed()) {
            event->accept();
            return;
        }
        // The close box: the window decides, and hides itself when it closes.
        event->ignore();
        owner_->Close();
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
        const std::string key = KeyText(*event);
        if (owner_ == nullptr || command || key.empty() || !owner_->KeyPressed(key)) {
            QWidget::keyPressEvent(event);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (owner_ == nullptr || !owner_->MousePressed(at.x(), at.y())) {
            QWidget::mousePressEvent(event);
        }
    }

private:
    Window* owner_;
};
}  // namespace

struct Window::Impl {
    QPointer<WindowWidget> widget;
    QEventLoop* modalLoop = nullptr;
};

Window::Window() : impl_(std::make_unique<Impl>()) {
    impl_->widget = new WindowWidget(this);  // top level: deleted in ~Window
    ApplyFrame();
    OpenWindows().push_back(this);
}

Window::~Window() {
    Forget(this);
    for (Control* control : controls_) {
        control->DetachFromWindow();
    }
    if (impl_->modalLoop != nullptr) {
        impl_->modalLoop->quit();
    }
    if (WindowWidget* widget = impl_->widget.data()) {
        widget->Forget();
        widget->hide();
        widget->deleteLater();  // it may be in the middle of delivering one of its events
    }
}

QWidget* Window::Widget() const {
    return impl_->widget.data();
}

std::string Window::Title() const {
    return Widget() ? Widget()->windowTitle().toStdString() : std::string();
}

void Window::SetTitle(const std::string& title) {
    if (QWidget* w = Widget()) {
        w->setWindowTitle(QString::fromStdString(title));
    }
}

std::int32_t Window::Width() const {
    return Widget() ? Widget()->width() : 0;
}
std::int32_t Window::Height() const {
    return Widget() ? Widget()->height() : 0;
}

void Window::SetSize(std::int32_t width, std::int32_t height) {
    if (QWidget* w = Widget()) {
        w->setFixedSize(width, height);
    }
}

void Window::SetFrame(std::int32_t frame) {
    frame_ = frame;
    ApplyFrame();
}

void Window::ApplyFrame() {
    QWidget* w = Widget();
    if (w == nullptr) {
        return;
    }
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (frame_ == kDocumentFrame) {
        flags |= Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
        w->setWindowModality(Qt::NonModal);
    } else {
        flags |= Qt::Dialog;
        w->setWindowModality(Qt::ApplicationModal);
    }
    w->setWindowFlags(flags);
}

void Window::AddControl(Control* control) {
    controls_.push_back(control);
}

void Window::RemoveControl(Control* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

Control* Window::ControlAt(std::int32_t index) const {
    if (index < 0 || index >= ControlCount()) {
        return nullptr;
    }
    return controls_[static_cast<std::size_t>(index)];
}

// Controls open before their window: a window's open may use what a control's open built.
void Window::OpenOnce() {
    if (opened_) {
        return;
    }
    opened_ = true;
    // A control's open may create or remove controls; walk a snapshot.
    const std::vector<Control*> controls = controls_;
    for (Control* control : controls) {
        control->Event_Open();
    }
    Event_Open();
}

void Window::Show() {
    if (closed_) {
        return;
    }
    OpenOnce();
    if (QWidget* w = Widget(); w != nullptr && !closed_) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void Window::ShowModal() {
    if (closed_) {
        return;
    }
    OpenOnce();
    QWidget* w = Widget();
    if (w == nullptr || closed_) {
        return;
    }
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    w->raise();
    w->activateWindow();
    QEventLoop loop;
    impl_->modalLoop = &loop;
    loop.exec();
    impl_->modalLoop = nullptr;  // `this` is alive: ~Window quits the loop before it goes
}

void Window::Close() {
    TryClose(false);
}

bool Window::TryClose(bool quitting) {
    if (closed_) {
        return true;
    }
    if (Event_CancelClose(quitting)) {
        return false;
    }
    closed_ = true;
    Event_Close();
    if (WindowWidget* widget = impl_->widget.data()) {
        widget->closing = true;
        widget->hide();
    }
    if (impl_->modalLoop != nullptr) {
        impl_->modalLoop->quit();
    }
    Forget(this);
    WindowClosed();
    if (Application* app = Application::Current()) {
        app->WindowClosed();
    }
    return true;
}

bool Window::IsFront() const {
    return Widget() != nullptr && Widget()->isActiveWindow();
}

void Window::UpdateNow() {
    const std::vector<Control*> controls = controls_;
    for (Control* control : controls) {
        control->RepaintIfMarked();
    }
}

bool Window::KeyPressed(const std::string& key) {
    return Event_KeyDown(key);
}

bool Window::MousePressed(std::int32_t x, std::int32_t y) {
    return Event_MouseDown(x, y);
}

std::int32_t Window::OpenCount() {
    return static_cast<std::int32_t>(OpenWindows().size());
}

Window* Window::OpenAt(std::int32_t index) {
    if (index < 0 || index >= OpenCount()) {
        return nullptr;
    }
    return OpenWindows()[static_cast<std::size_t>(index)];
}
