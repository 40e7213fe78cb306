#include "RuntimeBackgroundTask.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
constexpr auto kRuntimeThreadPause = std::chrono::milliseconds(1);

std::atomic<int>& RunningThreads() {
    static std::atomic<int> running{0};
    return running;
}

thread_local bool onRuntimeThread = false;
}  // namespace

void RuntimeBackgroundTask() {
    if (onRuntimeThread) {
        std::this_thread::sleep_for(kRuntimeThreadPause);
    } else if (RunningThreads().load(std::memory_order_relaxed) > 0) {
        std::this_thread::yield();
    }
}

void RuntimeThreadStarted() {
    onRuntimeThread = true;
    RunningThreads().fetch_add(1);
}

void RuntimeThreadEnded() {
    RunningThreads().fetch_sub(1);
    onRuntimeThread = false;
}
