#include "Thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <thread>

#include "RuntimeBackgroundTask.h"

struct Thread::Impl {
    std::thread thread;
    std::atomic<bool> running{false};
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
    Join();
}

void Thread::Run() {
    if (impl_->running.load()) {
        return;
    }
    Join();  // a finished run still has to be joined
    impl_->running.store(true);
    impl_->thread = std::thread([this] {
        RuntimeThreadStarted();
        Event_Run();
        RuntimeThreadEnded();
        impl_->running.store(false);
    });
}

bool Thread::IsRunning() const {
    return impl_->running.load();
}

void Thread::Join() {
    if (impl_->thread.joinable() && impl_->thread.get_id() != std::this_thread::get_id()) {
        impl_->thread.join();
    }
}

void PostToEventLoop(std::function<void()> call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || !call) {
        return;
    }
    QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
}

bool IsEventLoopThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}
