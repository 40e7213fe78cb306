#include "PeriodicThread.h"

#include "Microseconds.h"
#include "PeriodicTimer.h"
#include "RuntimeBackgroundTask.h"

namespace {
constexpr double kFirstTriggerDelay = 15000;  // µs after the start
constexpr double kTriggerSpacing = 1000;      // µs from one trigger's start to the next
}  // namespace

PeriodicThread::~PeriodicThread() {
    StopThread();
    Join();
}

void PeriodicThread::Run() {
    if (IsRunning()) {
        return;
    }
    ItsEndFlag.store(false);
    Thread::Run();
}

void PeriodicThread::Event_Run() {
    if (ItsOwner == nullptr) {
        return;
    }
    ItsLastTime = Microseconds();
    ItsNextTime = ItsLastTime + kFirstTriggerDelay;
    while (!ItsEndFlag.load()) {
        const double now = Microseconds();
        if (ItsNextTime < now || now < ItsLastTime) {
            ItsOwner->ExternalTrigger();
            ItsLastTime = now;
            ItsNextTime = now + kTriggerSpacing;
        }
        RuntimeBackgroundTask();
    }
}
