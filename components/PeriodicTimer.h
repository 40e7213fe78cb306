#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Timer.h"

class PeriodicThread;

// Raises PeriodicAction once per interval of wall-clock time, whatever the regularity of the
// occasions it is given (the library timer every ItsPeriod ms, or a PeriodicThread). Missed
// actions are caught up one per occasion; an action that ends more than five intervals late
// restarts the schedule. A stuck or backward clock falls back to counting occasions.
class PeriodicTimer : public Timer {
public:
    // Values of ItsStatus.
    static constexpr std::int32_t kStopped = 0;
    static constexpr std::int32_t kRunningOnTimer = 1;
    static constexpr std::int32_t kRunningOnThread = 2;
    static constexpr std::int32_t kChanging = 9;

    PeriodicTimer();
    ~PeriodicTimer() override;

    // Events for the owner; raising one without a handler does nothing. The action's load is
    // the previous action's share of one interval in percent, negated after an overload.
    std::function<void(PeriodicTimer& sender)> PeriodicStart;
    std::function<void(PeriodicTimer& sender, std::int32_t load)> PeriodicAction;
    std::function<void(PeriodicTimer& sender)> PeriodicStop;

    void Event_Action() override;
    // The first `suspend` due actions raise nothing. Only while stopped.
    void TimerStart(std::int32_t suspend);
    void TimerStop();
    std::string VersionInfo() const { return "2012-05-27,1"; }
    // Both in ms. Only while stopped; clamped at start.
    void Setup(std::int32_t period, std::int32_t interval);
    void SetLowLoadMode(bool mode);
    // Called inside a PeriodicAction handler: the next action is due one interval after that
    // handler has returned.
    void TimerSync();
    // An occasion from the thread of thread mode. Off the event loop's thread it is handed to
    // the event loop, at most one waiting at a time, so that handlers always run there.
    void ExternalTrigger();
    void SetThreadMode(bool mode);
    std::int32_t RefStatus() const { return ItsStatus; }
    bool RefThreadMode() const { return ItsThreadMode; }

protected:
    // One occasion: reads the clock and raises at most one due action.
    void TimingTest();

    std::int32_t ItsInterval = 0;
    double LastTime = 0;
    std::int32_t ActionCounter = 0;
    std::int32_t ItsPeriod = 0;
    bool LowLoadMode = false;
    std::int32_t ItsLoadRate = 0;
    bool ItsLoadStatus = false;
    bool ForceSyncFlag = false;
    std::unique_ptr<PeriodicThread> ItsPeriodicThread;
    bool ItsThreadMode = false;
    std::int32_t ItsStatus = kStopped;
    std::int32_t ItsSuspendCounter = 0;

private:
    struct TriggerGate;
    void RaiseDueAction();
    void MeasureLoad(double start, double end);
    void PostTrigger();

    std::shared_ptr<TriggerGate> gate_;
};
