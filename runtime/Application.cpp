#include "Application.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <iterator>
#include <vector>

#include "MenuBar.h"
#include "Window.h"

namespace {
Application*& CurrentApplication() {
    static Application* current = nullptr;
    return current;
}

// A modifier alone is no key here.
constexpr int kModifierKeys[] = {Qt::Key_Control, Qt::Key_Shift,   Qt::Key_Alt,    Qt::Key_Meta,
                                 Qt::Key_AltGr,   Qt::Key_Super_L, Qt::Key_Super_R};

bool IsModifierKey(int key) {
    return std::find(std::begin(kModifierKeys), std::end(kModifierKeys), key) !=
           std::end(kModifierKeys);
}

// Every shortcut of the menus is Ctrl and one key ("Cmd+T" becomes Ctrl+T): a key pressed without
// Ctrl, or Ctrl pressed alone, can trigger none, and gets no enabling pass (a walk over every item
// and its Qt action, about 0.2 ms).
bool MayTriggerAShortcut(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::ControlModifier) && !IsModifierKey(key.key());
}

// Qt sends ShortcutOverride to the focus widget before it matches a key against the shortcuts:
// the enabling pass runs there, so a disabled item's shortcut never triggers. Every event of the
// program passes through here, so anything else is let by at the first test.
class ShortcutGate : public QObject {
public:
    explicit ShortcutGate(Application& app) : app_(app) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const auto& key = *static_cast<QKeyEvent*>(event);
        // Alt pressed alone would hand the keyboard to Qt's menu bar, and the next key would
        // open a menu; the bar never sees it.
        if (key.key() == Qt::Key_Alt || key.key() == Qt::Key_Meta) {
            return true;
        }
        if (MayTriggerAShortcut(key)) {
            app_.RunEnablingPass();
        }
        return false;
    }

private:
    Application& app_;
};
}  // namespace

struct Application::MenuState {
    std::shared_ptr<::MenuBar> bar;
    MenuHandlers handlers;
    std::unique_ptr<ShortcutGate> gate;
};

Application::Application() : menus_(std::make_unique<MenuState>()) {
    CurrentApplication() = this;
}

Application::~Application() {
    if (menus_->bar) {
        menus_->bar->Chosen = nullptr;
        menus_->bar->AboutToOpen = nullptr;
    }
    if (menus_->gate && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(menus_->gate.get());
    }
    if (CurrentApplication() == this) {
        CurrentApplication() = nullptr;
    }
}

std::shared_ptr<::MenuBar> Application::MenuBar() const {
    return menus_->bar;
}

void Application::SetMenuBar(std::shared_ptr<::MenuBar> bar) {
    if (menus_->bar) {
        menus_->bar->Chosen = nullptr;
        menus_->bar->AboutToOpen = nullptr;
    }
    menus_->bar = std::move(bar);
    if (!menus_->bar) {
        return;
    }
    menus_->bar->Chosen = [this](MenuItem& item) { MenuCommand(item); };
    menus_->bar->AboutToOpen = [this] { RunEnablingPass(); };
    if (!menus_->gate && QCoreApplication::instance() != nullptr) {
        menus_->gate = std::make_unique<ShortcutGate>(*this);
        QCoreApplication::instance()->installEventFilter(menus_->gate.get());
    }
}

void Application::AddMenuHandler(const std::string& name, MenuHandler handler) {
    menus_->handlers.Add(name, std::move(handler));
}

void Application::AddMenuHandler(const std::string& name, IndexedMenuHandler handler) {
    menus_->handlers.Add(name, std::move(handler));
}

Window* Application::FrontWindow() const {
    QWidget* active = QApplication::activeWindow();
    class Window* newestVisible = nullptr;
    for (std::int32_t i = 0; i < WindowCount(); ++i) {
        class Window* window = Window(i);
        QWidget* widget = window->Widget();
        if (widget != nullptr && widget == active) {
            return window;
        }
        if (widget != nullptr && widget->isVisible()) {
            newestVisible = window;
        }
    }
    return newestVisible;
}

void Application::RunEnablingPass() {
    class Window* front = FrontWindow();
    std::shared_ptr<::MenuBar> bar =
        front != nullptr && front->MenuBar() ? front->MenuBar() : menus_->bar;
    if (!bar) {
        return;
    }
    bar->RunEnablingPass([front] {
        if (front != nullptr) {
            front->Event_EnableMenuItems();
        }
    });
}

void Application::MenuCommand(const MenuItem& item) {
    if (class Window* front = FrontWindow(); front != nullptr && front->RunMenuHandler(item)) {
        return;
    }
    if (menus_->handlers.Run(item)) {
        return;
    }
    if (item.IsQuitItem()) {
        Quit();
    }
}

Application* Application::Current() {
    return CurrentApplication();
}

int Application::Run() {
    // Closing windows is ours to judge (AutoQuit), not Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
    Event_Open();
    // The windows made during start-up open once the application has opened.
    std::vector<class Window*> startWindows;
    for (std::int32_t i = 0; i < WindowCount(); ++i) {
        startWindows.push_back(Window(i));
    }
    for (class Window* window : startWindows) {
        if (!quitRequested_ && !window->IsClosed()) {
            window->Show();
        }
    }
    int code = 0;
    if (!quitRequested_) {
        running_ = true;
        code = QApplication::exec();
        running_ = false;
    }
    Event_Close();
    return code;
}

void Application::Quit() {
    if (quitting_) {
        return;
    }
    quitting_ = true;
    // Newest first, so that dialogs close before the windows they came from.
    for (std::int32_t i = WindowCount() - 1; i >= 0; --i) {
        if (class Window* window = Window(i); window != nullptr && !window->TryClose(true)) {
            quitting_ = false;
            return;
        }
        i = std::min(i, WindowCount());
    }
    quitRequested_ = true;
    if (running_) {
        QCoreApplication::exit(0);
    }
}

std::int32_t Application::WindowCount() const {
    return ::Window::OpenCount();
}

Window* Application::Window(std::int32_t index) const {
    return ::Window::OpenAt(index);
}

void Application::WindowClosed() {
    if (AutoQuit && !quitting_ && WindowCount() == 0) {
        Quit();
    }
}
