#include "Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "Application.h"
#include "Control.h"
#include "KeyPress.h"
#include "MenuBar.h"

namespace {
std::vector<Window*>& OpenWindows() {
    static std::vector<Window*> windows;
    return windows;
}

// A menu bar asks the style for its overflow arrows as it is made. The stock arrows are PNG
// files, and telling their format asks every image plugin, which loads them all (and libjpeg)
// before the first window shows; these arrows are drawn by the style instead.
class DrawnArrowStyle : public QProxyStyle {
public:
    explicit DrawnArrowStyle(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton) {
            return Arrow(PE_IndicatorArrowRight);
        }
        if (which == SP_ToolBarVerticalExtensionButton) {
            return Arrow(PE_IndicatorArrowDown);
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }

private:
    QIcon Arrow(PrimitiveElement arrow) const {
        constexpr int kSide = 10;  // pixels, the size of the stock arrows
        QPixmap pixmap(kSide, kSide);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        QStyleOption option;
        option.rect = pixmap.rect();
        option.palette = QApplication::palette();
        option.state = State_Enabled;
        baseStyle()->drawPrimitive(arrow, &option, &painter);
        return QIcon(pixmap);
    }
};

void UseDrawnArrows() {
    if (dynamic_cast<DrawnArrowStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new DrawnArrowStyle(QApplication::style()->name()));  // Qt owns it
    }
}

// The window a modal window belongs to: the first document window opened that shows, which for
// the game is its main window, shown for the whole run.
Window* OwnerOfModal(const Window* modal) {
    for (Window* window : OpenWindows()) {
        if (window != modal && window->Frame() == Window::kDocumentFrame &&
            window->Widget() != nullptr && window->Widget()->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// Window managers keep a transient window above its owner and minimise the two together; a modal
// window the user could minimise on its own would leave the owner frozen with no way back to it.
void MakeTransientForOwner(Window* modal) {
    Window* owner = OwnerOfModal(modal);
    if (owner == nullptr) {
        return;
    }
    owner->Widget()->winId();  // the native windows must exist to be linked
    modal->Widget()->winId();
    modal->Widget()->windowHandle()->setTransientParent(owner->Widget()->windowHandle());
}

bool ShowsModally(const QWidget& widget) {
    return widget.windowModality() != Qt::NonModal && widget.isVisible();
}

// The newest modal window that shows, or was minimised where the window manager allowed it, comes
// back to the front: while it is open, it is the only window the user can work in.
void BringModalToFront() {
    const auto& windows = OpenWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        QWidget* widget = (*it)->Widget();
        if (widget != nullptr && ShowsModally(*widget)) {
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
            if (!widget->isActiveWindow()) {
                widget->raise();
                widget->activateWindow();
            }
            return;
        }
    }
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
            return KeyDownText(event);
    }
}

// Escape in one of the bar's menus leaves Qt's bar in keyboard mode, holding the focus, so the
// next key would open a menu instead of reaching the window. Once the last menu has gone, the
// bar is let go the way a further Escape would, and the focus returns where it was.
void LeaveKeyboardModeAfterMenus(QMenuBar* bar) {
    for (QAction* action : bar->actions()) {
        if (QMenu* menu = action->menu()) {
            QObject::connect(menu, &QMenu::aboutToHide, bar, [bar] {
                QTimer::singleShot(0, bar, [bar] {
                    if (bar->window()->focusWidget() != bar ||
                        QApplication::activePopupWidget() != nullptr) {
                        return;
                    }
                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QCoreApplication::sendEvent(bar, &escape);
                    if (bar->window()->focusWidget() == bar) {
                        bar->window()->setFocus(Qt::OtherFocusReason);
                    }
                });
            });
        }
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
        if (!owner_->CloseBox()) {
            event->ignore();
            return;
        }
        // The close box: the window decides, and hides itself when it closes.
        event->ignore();
        owner_->Close();
    }
    void keyPressEvent(QKeyEvent* event) override {
        const bool command = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
        const bool keyDown = IsKeyDown(*event);
        const std::string key = keyDown ? KeyText(*event) : std::string();
        if (owner_ == nullptr || command || key.empty() || !owner_->KeyPressed(key)) {
            QWidget::keyPressEvent(event);
        }
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        // A click on the main window activates it, or Qt hands that activation on to the modal
        // window that blocks it; either way a minimised modal window comes back. After the event
        // that activated the window: a minimise that caused it has set its state by then.
        if (event->type() == QEvent::ActivationChange && owner_ != nullptr && isActiveWindow()) {
            QTimer::singleShot(0, this, [] { BringModalToFront(); });
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (owner_ == nullptr || !owner_->MousePressed(at.x(), at.y() - owner_->ContentTop())) {
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
    std::shared_ptr<::MenuBar> menuBar;
    QPointer<QMenuBar> qtMenuBar;
    std::int32_t contentTop = 0;
    bool closeBox = true;
    std::int32_t placement = kDefaultPlacement;
    bool placed = false;
    MenuHandlers menuHandlers;
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
    return Widget() ? Widget()->height() - ContentTop() : 0;
}

void Window::SetSize(std::int32_t width, std::int32_t height) {
    if (QWidget* w = Widget()) {
        w->setFixedSize(width, height + ContentTop());
        if (QMenuBar* bar = impl_->qtMenuBar.data()) {
            bar->setGeometry(0, 0, width, ContentTop());
        }
    }
}

std::shared_ptr<::MenuBar> Window::MenuBar() const {
    return impl_->menuBar;
}

void Window::SetMenuBar(std::shared_ptr<::MenuBar> bar) {
    QWidget* w = Widget();
    if (w == nullptr || impl_->menuBar) {
        return;  // a window's bar is set once, at its making
    }
    impl_->menuBar = std::move(bar);
    if (!impl_->menuBar) {
        return;
    }
    UseDrawnArrows();
    auto* qtBar = new QMenuBar(w);  // owned by the window's widget
    // Never the platform's global bar: the bar stays inside the window, above its content.
    qtBar->setNativeMenuBar(false);
    impl_->menuBar->AttachTo(qtBar);
    LeaveKeyboardModeAfterMenus(qtBar);
    impl_->qtMenuBar = qtBar;
    const std::int32_t top = qtBar->sizeHint().height();
    const std::int32_t contentWidth = Width();
    const std::int32_t contentHeight = Height();
    impl_->contentTop = top;
    for (Control* control : controls_) {
        if (QWidget* cw = control->Widget()) {
            cw->move(cw->x(), cw->y() + top);
        }
    }
    qtBar->setGeometry(0, 0, contentWidth, top);
    qtBar->show();
    if (w->minimumSize() == w->maximumSize()) {
        SetSize(contentWidth, contentHeight);
    }
}

std::int32_t Window::ContentTop() const {
    return impl_->contentTop;
}

bool Window::CloseBox() const {
    return impl_->closeBox;
}

void Window::SetCloseBox(bool closeBox) {
    impl_->closeBox = closeBox;
    ApplyFrame();
}

void Window::AddMenuHandler(const std::string& name, MenuHandler handler) {
    impl_->menuHandlers.Add(name, std::move(handler));
}

void Window::AddMenuHandler(const std::string& name, IndexedMenuHandler handler) {
    impl_->menuHandlers.Add(name, std::move(handler));
}

bool Window::RunMenuHandler(const MenuItem& item) {
    return impl_->menuHandlers.Run(item);
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
        flags |= Qt::Window | Qt::WindowMinimizeButtonHint;
        if (impl_->closeBox) {
            flags |= Qt::WindowCloseButtonHint;
        }
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

void Window::SetPlacement(std::int32_t placement) {
    impl_->placement = placement;
}

// Before the first showing: centred on the screen, or over the window the user was working in.
void Window::PlaceOnce() {
    QWidget* w = Widget();
    if (impl_->placed || w == nullptr) {
        return;
    }
    impl_->placed = true;
    QRect area;
    if (impl_->placement == kParentWindowPlacement) {
        for (std::int32_t i = OpenCount() - 1; i >= 0 && area.isNull(); --i) {
            QWidget* other = OpenAt(i)->Widget();
            if (OpenAt(i) != this && other != nullptr && other->isVisible()) {
                area = other->frameGeometry();
            }
        }
    }
    if (area.isNull() && impl_->placement != kDefaultPlacement) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            area = screen->availableGeometry();
        }
    }
    if (!area.isNull()) {
        const QSize size = w->size();
        w->move(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2);
    }
}

void Window::Show() {
    if (closed_) {
        return;
    }
    OpenOnce();
    if (QWidget* w = Widget(); w != nullptr && !closed_) {
        PlaceOnce();
        if (frame_ != kDocumentFrame) {
            MakeTransientForOwner(this);
        }
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
    PlaceOnce();
    w->setWindowModality(Qt::ApplicationModal);
    MakeTransientForOwner(this);
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
