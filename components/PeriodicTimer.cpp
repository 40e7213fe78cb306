#include "PeriodicTimer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "Microseconds.h"
#include "PeriodicThread.h"
#include "Thread.h"

namespace {
constexpr double kMicrosecondsPerMs = 1000;
constexpr double kOverloadIntervals = 5;  // an action ending this late restarts the schedule
constexpr std::int32_t kThreadPriority = 10;
}  // namespace

// Shared with the calls waiting in the event loop, which may outlive the timer. `owner` is read
// and cleared only on the event loop's thread; the polling thread touches only `pending`.
struct PeriodicTimer::TriggerGate {
    std::atomic<bool> pending{false};
    PeriodicTimer* owner = nullptr;
};

PeriodicTimer::PeriodicTimer() : gate_(std::make_shared<TriggerGate>()) {
    gate_->owner = this;
}

PeriodicTimer::~PeriodicTimer() {
    // The thread calls into this object: it ends before any member goes.
    if (ItsPeriodicThread != nullptr) {
        ItsPeriodicThread->StopThread();
        ItsPeriodicThread->Join();
    }
    gate_->owner = nullptr;
}

void PeriodicTimer::Event_Action() {
    TimingTest();
}

void PeriodicTimer::TimerStart(std::int32_t suspend) {
    if (ItsStatus != kStopped) {
        return;
    }
    ItsStatus = kChanging;
    if (PeriodicStart) {
        PeriodicStart(*this);
    }
    ItsSuspendCounter = suspend;
    LastTime = Microseconds();
    ForceSyncFlag = false;
    ActionCounter = 0;
    ItsInterval = std::max(ItsInterval, 1);
    if (ItsPeriod < 1) {
        ItsPeriod = 1;
    } else if (ItsInterval < ItsPeriod) {
        ItsPeriod = ItsInterval;
    }
    SetPeriod(LowLoadMode ? ItsInterval : ItsPeriod);
    if (ItsThreadMode) {
        ItsPeriodicThread->Run();
        ItsStatus = kRunningOnThread;
    } else {
        SetMode(kModeMultiple);
        ItsStatus = kRunningOnTimer;
    }
}

void PeriodicTimer::TimerStop() {
    if (ItsStatus != kRunningOnTimer && ItsStatus != kRunningOnThread) {
        return;
    }
    ItsStatus = kChanging;
    if (ItsThreadMode) {
        // Joined, so no trigger is made after the stop; one already waiting finds status 0.
        ItsPeriodicThread->StopThread();
        ItsPeriodicThread->Join();
    } else {
        SetMode(kModeOff);
    }
    ItsLoadRate = 0;
    ItsLoadStatus = false;
    if (PeriodicStop) {
        PeriodicStop(*this);
    }
    ItsStatus = kStopped;
}

void PeriodicTimer::Setup(std::int32_t period, std::int32_t interval) {
    if (ItsStatus != kStopped) {
        return;
    }
    ItsPeriod = period;
    ItsInterval = interval;
}

void PeriodicTimer::SetLowLoadMode(bool mode) {
    if (ItsStatus == kStopped) {
        LowLoadMode = mode;
    }
}

void PeriodicTimer::TimerSync() {
    if (ItsStatus > kStopped) {
        ForceSyncFlag = true;
    }
}

void PeriodicTimer::SetThreadMode(bool mode) {
    if (ItsStatus != kStopped) {
        return;
    }
    ItsThreadMode = mode;
    if (mode) {
        ItsPeriodicThread = std::make_unique<PeriodicThread>();
        ItsPeriodicThread->Priority = kThreadPriority;
        ItsPeriodicThread->SetOwner(this);
    } else {
        ItsPeriodicThread.reset();
    }
}

void PeriodicTimer::ExternalTrigger() {
    if (!IsEventLoopThread()) {
        PostTrigger();
        return;
    }
    if (ItsStatus == kRunningOnThread) {
        TimingTest();
    }
}

// Triggers made while one is still waiting are dropped: the waiting one reads the clock when
// it runs, which is all a trigger is for.
void PeriodicTimer::PostTrigger() {
    if (gate_->pending.exchange(true)) {
        return;
    }
    PostToEventLoop([gate = gate_] {
        gate->pending.store(false);
        if (gate->owner != nullptr) {
            gate->owner->ExternalTrigger();
        }
    });
}

void PeriodicTimer::TimingTest() {
    ForceSyncFlag = false;
    ActionCounter += 1;
    const double now = Microseconds();
    if (LastTime < now) {
        const double interval = ItsInterval * kMicrosecondsPerMs;
        const double next = LastTime + interval;
        if (!(next < now)) {
            return;
        }
        RaiseDueAction();
        const double end = Microseconds();
        MeasureLoad(now, end);
        ItsLoadStatus = next + interval * kOverloadIntervals < end;
        if (ItsLoadStatus) {
            ForceSyncFlag = true;
        }
        LastTime = ForceSyncFlag ? end : next;
        ActionCounter = 0;
        return;
    }
    // The clock stands still or went back: each occasion counts as one library-timer period.
    if (static_cast<std::int64_t>(Period()) * ActionCounter <= ItsInterval) {
        return;
    }
    RaiseDueAction();
    MeasureLoad(now, Microseconds());
    LastTime = ForceSyncFlag ? Microseconds() : now;
    ActionCounter = 0;
}

void PeriodicTimer::RaiseDueAction() {
    if (ItsSuspendCounter > 0) {
        ItsSuspendCounter -= 1;
        return;
    }
    if (PeriodicAction) {
        PeriodicAction(*this, ItsLoadStatus ? -ItsLoadRate : ItsLoadRate);
    }
}

// Percent of one interval from the occasion's clock reading to the handler's end.
void PeriodicTimer::MeasureLoad(double start, double end) {
    const double percent = std::floor(std::max((end - start) / 10 / ItsInterval, 0.0));
    ItsLoadRate = static_cast<std::int32_t>(
        std::min(percent, static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}
