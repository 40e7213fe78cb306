#pragma once

#include <cstdint>
#include <memory>

// A timer of the event loop. Mode 0 is off; mode 2 raises Event_Action every Period ms until
// the mode goes back to 0. Made off, with a period of 1000 ms.
class Timer {
public:
    static constexpr std::int32_t kModeOff = 0;
    static constexpr std::int32_t kModeMultiple = 2;

    Timer();
    virtual ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    std::int32_t Period() const { return period_; }
    // At least 1 ms; a running timer restarts its period.
    void SetPeriod(std::int32_t ms);
    std::int32_t Mode() const { return mode_; }
    // Any mode but 0 and 2 counts as 2.
    void SetMode(std::int32_t mode);

    virtual void Event_Action() {}

private:
    void Apply();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::int32_t period_ = 1000;
    std::int32_t mode_ = kModeOff;
};
