#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "Window.h"

// Runs the event loop for `ms` of real time.
inline void RunEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A window paints only once the windowing system has put it on the screen; waits up to 2 s.
inline void WaitUntilShown(Window& window) {
    QWidget* widget = window.Widget();
    for (int pass = 0;
         pass < 200 && !(widget->windowHandle() && widget->windowHandle()->isExposed()); ++pass) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
}
