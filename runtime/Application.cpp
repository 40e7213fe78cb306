#include "Application.h"

#include <QApplication>
#include <algorithm>
#include <vector>

#include "Window.h"

namespace {
Application*& CurrentApplication() {
    static Application* current = nullptr;
    return current;
}
}  // namespace

Application::Application() {
    CurrentApplication() = this;
}

Application::~Application() {
    if (CurrentApplication() == this) {
        CurrentApplication() = nullptr;
    }
}

Application* Application::Current() {
    return CurrentApplication();
}

int Application::Run() {
    // Closing windows is ours to judge (AutoQuit), not Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
    Event_Open();
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
