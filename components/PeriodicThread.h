#pragma once

#include <atomic>
#include <string>

#include "Thread.h"

class PeriodicTimer;

// The source of occasions in thread mode: triggers its timer 15 ms after the start, then
// whenever more than 1 ms has passed since the previous trigger began (or the clock went
// back), pausing about 1 ms per pass.
class PeriodicThread : public Thread {
public:
    ~PeriodicThread() override;

    std::string VersionInfo() const { return "2012-05-25,1"; }
    // The timer must outlive the thread's run; the timer stops and joins it before it goes.
    void SetOwner(PeriodicTimer* owner) { ItsOwner = owner; }
    // Ends the polling loop at its next pass.
    void StopThread() { ItsEndFlag.store(true); }
    // Clears the end flag before the thread starts, so that a StopThread made at once after
    // is never lost.
    void Run();

protected:
    void Event_Run() override;

    PeriodicTimer* ItsOwner = nullptr;
    double ItsLastTime = 0;
    double ItsNextTime = 0;
    std::atomic<bool> ItsEndFlag{false};
};
