#include "RuntimeBackgroundTask.h"

#include <atomic>
#include <thread>

namespace {
std::atomic<int>& RunningThreads() {
    static std::atomic<int> running{0};
    return running;
}
}  // namespace

void RuntimeBackgroundTask() {
    if (RunningThreads().load(std::memory_order_relaxed) > 0) {
        std::this_thread::yield();
    }
}

void RuntimeThreadStarted() { RunningThreads().fetch_add(1); }
void RuntimeThreadEnded() { RunningThreads().fetch_sub(1); }
