#include "Timer.h"

#include <QTimer>
#include <algorithm>

struct Timer::Impl {
    QTimer timer;
};

Timer::Timer() : impl_(std::make_unique<Impl>()) {
    // Coarse timers may fire up to 5 % late; the game's 20 ms firings must keep their step.
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Event_Action(); });
}

Timer::~Timer() = default;

void Timer::SetPeriod(std::int32_t ms) {
    period_ = std::max(ms, 1);
    Apply();
}

void Timer::SetMode(std::int32_t mode) {
    mode_ = mode == kModeOff ? kModeOff : kModeMultiple;
    Apply();
}

void Timer::Apply() {
    if (mode_ == kModeOff) {
        impl_->timer.stop();
        return;
    }
    impl_->timer.start(period_);
}
