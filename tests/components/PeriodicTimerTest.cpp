#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "EventLoop.h"
#include "Microseconds.h"
#include "PeriodicThread.h"
#include "PeriodicTimer.h"

namespace {
constexpr double kMs = 1000;            // µs
constexpr double kStartTime = 1000000;  // µs; any point after 0 will do

// Opens the schedule to the test: occasions are driven by hand at chosen clock readings.
class ScheduledTimer : public PeriodicTimer {
public:
    using PeriodicTimer::TimingTest;
    std::int32_t Interval() const { return ItsInterval; }
    std::int32_t PeriodSetting() const { return ItsPeriod; }
    double Anchor() const { return LastTime; }
    std::int32_t Occasions() const { return ActionCounter; }  // since the last action
};

class PeriodicTimerSchedule : public testing::Test {
protected:
    void SetUp() override {
        SetMicrosecondsSource([this] { return clock_; });
        clock_ = kStartTime;
        timer_.PeriodicAction = [this](PeriodicTimer&, std::int32_t load) {
            times_.push_back((clock_ - kStartTime) / kMs);
            loads_.push_back(load);
            clock_ += handlerCost_;
        };
    }
    void TearDown() override { SetMicrosecondsSource({}); }

    // Actions every 100 ms on library-timer firings every 20 ms.
    void Start(std::int32_t suspend = 0) {
        timer_.Setup(20, 100);
        timer_.TimerStart(suspend);
    }
    // One firing of the library timer at `ms` after the start.
    void FireAt(double ms) {
        clock_ = kStartTime + ms * kMs;
        timer_.TimingTest();
    }
    // Firings every 20 ms over (from, to].
    void FireEvery20(double from, double to) {
        for (double ms = from + 20; ms <= to; ms += 20) {
            FireAt(ms);
        }
    }
    void ForgetActions() {
        times_.clear();
        loads_.clear();
    }

    double clock_ = 0;
    double handlerCost_ = 0;  // µs each PeriodicAction takes
    ScheduledTimer timer_;
    std::vector<double> times_;  // of the actions, in ms after the start
    std::vector<std::int32_t> loads_;
};
}  // namespace

// Each action takes 30 ms; its load, the share of an interval the one before took, is passed on.
TEST_F(PeriodicTimerSchedule, SteadyFiringsGiveOneActionPerIntervalWithoutDrift) {
    Start();
    handlerCost_ = 30 * kMs;
    EXPECT_EQ(timer_.RefStatus(), PeriodicTimer::kRunningOnTimer);
    EXPECT_EQ(timer_.Period(), 20);
    EXPECT_EQ(timer_.Mode(), Timer::kModeMultiple);

    FireEvery20(0, 1000);
    // Each action comes at the first firing strictly after its due time; the anchor advances by
    // exactly one interval, so ten actions fit in a second.
    EXPECT_EQ(times_, (std::vector<double>{120, 220, 320, 420, 520, 620, 720, 820, 920}));
    EXPECT_EQ(loads_,
              (std::vector<std::int32_t>{0, 30, 30, 30, 30, 30, 30, 30, 30}));  // 0 at first
    FireEvery20(1000, 10000);
    EXPECT_EQ(times_.size(), 99u);
    EXPECT_DOUBLE_EQ(timer_.Anchor(), kStartTime + 9900 * kMs);
}

// The event loop is busy from 500 ms on, when the action due at 500 is waiting; each action takes
// 10 ms. Until an action ends more than five intervals (500 ms) behind its due time (the one at
// 990 ends at 1000, just in time; the one at 991 begins in time but ends too late), the missed
// ones are caught up one per firing; past that the schedule restarts from the action's end, and
// the next action reports the overload.
TEST_F(PeriodicTimerSchedule, StallsAreCaughtUpOnePerFiringUntilFiveIntervalsBehind) {
    handlerCost_ = 10 * kMs;
    const struct {
        double stallEnd, until;  // ms
        std::vector<double> times;
        std::vector<std::int32_t> loads;
    } cases[] = {
        {820, 1000, {820, 840, 860, 880, 920}, {10, 10, 10, 10, 10}},
        {990, 1200, {990, 1010, 1030, 1050, 1070, 1090, 1110}, std::vector<std::int32_t>(7, 10)},
        {991, 1300, {991, 1111, 1211}, {10, -10, 10}},
        {1050, 1300, {1050, 1170, 1270}, {10, -10, 10}},
        {2520, 2800, {2520, 2640, 2740}, {10, -10, 10}},
    };
    for (const auto& c : cases) {
        timer_.TimerStop();
        clock_ = kStartTime;
        Start();
        FireEvery20(0, 500);  // actions at 120 .. 420; the next is due at 500
        ForgetActions();
        FireAt(c.stallEnd);
        FireEvery20(c.stallEnd, c.until);
        EXPECT_EQ(times_, c.times) << "stalled till " << c.stallEnd;
        EXPECT_EQ(loads_, c.loads) << "stalled till " << c.stallEnd;
    }
}

// Without the clock, each firing counts as one period of 20 ms: an action comes at the sixth
// firing since the last (5 x 20 ms is not more than the interval), anchored at the clock's reading.
// Such actions judge no overload: after one, each passes its 10 ms load on negated.
TEST_F(PeriodicTimerSchedule, AClockThatStandsStillOrGoesBackGivesAnActionEverySixthFiring) {
    Start();
    for (int firing = 1; firing <= 18; ++firing) {
        FireAt(0);  // the clock never moves from the start time
        EXPECT_EQ(times_.size(), static_cast<std::size_t>(firing / 6)) << "firing " << firing;
    }
    FireEvery20(0, 240);  // actions at 120 and 220
    handlerCost_ = 10 * kMs;
    FireAt(1000);  // the action due at 300, overloaded
    ForgetActions();
    for (int firing = 1; firing <= 12; ++firing) {
        FireAt(-1000);  // back before the anchor
        EXPECT_EQ(times_.size(), static_cast<std::size_t>(firing / 6)) << "back " << firing;
    }
    EXPECT_EQ(loads_, (std::vector<std::int32_t>{-10, -10}));
    EXPECT_DOUBLE_EQ(timer_.Anchor(), kStartTime - 1000 * kMs);
}

TEST_F(PeriodicTimerSchedule, SuspendedActionsRaiseNothingButKeepTheSchedule) {
    Start(3);
    FireEvery20(0, 500);
    EXPECT_EQ(times_, (std::vector<double>{420}));
}

// Each action takes 25 ms, longer than a firing, so that a restart from its end and one from its
// start fall on different firings.
TEST_F(PeriodicTimerSchedule, TimerSyncInsideAHandlerRestartsFromTheHandlersEndOnly) {
    Start();
    bool sync = true;
    timer_.PeriodicAction = [&](PeriodicTimer& sender, std::int32_t) {
        times_.push_back((clock_ - kStartTime) / kMs);
        if (std::exchange(sync, false)) {
            sender.TimerSync();
        }
        clock_ += 25 * kMs;
    };
    FireEvery20(0, 240);
    timer_.TimerSync();  // outside a handler: changes nothing
    FireEvery20(240, 500);
    // Synced at the end of the first action (145): the next is due at 245, then every 100 ms.
    EXPECT_EQ(times_, (std::vector<double>{120, 260, 360, 460}));
    // With the clock gone back, actions come by counting firings; a synced one still restarts the
    // schedule from its end, 25 ms after its clock reading.
    sync = true;
    for (int firing = 0; firing < 6; ++firing) {
        FireAt(0);
    }
    EXPECT_EQ(times_.size(), 5u);
    EXPECT_DOUBLE_EQ(timer_.Anchor(), kStartTime + 25 * kMs);
}

TEST_F(PeriodicTimerSchedule, BadSettingsAreClampedAtStart) {
    const struct {
        std::int32_t period, interval;
        bool lowLoad;
        std::int32_t wantPeriod, wantInterval, wantTimerPeriod;
    } cases[] = {
        {0, 0, false, 1, 1, 1},         // nothing below 1 ms
        {50, 20, false, 20, 20, 20},    // no firing slower than an action
        {-5, 100, false, 1, 100, 1},    //
        {20, 100, true, 20, 100, 100},  // low load: one firing per action
    };
    for (const auto& c : cases) {
        ScheduledTimer timer;
        timer.Setup(c.period, c.interval);
        timer.SetLowLoadMode(c.lowLoad);
        timer.TimerStart(0);
        EXPECT_EQ(timer.PeriodSetting(), c.wantPeriod) << c.period << "," << c.interval;
        EXPECT_EQ(timer.Interval(), c.wantInterval) << c.period << "," << c.interval;
        EXPECT_EQ(timer.Period(), c.wantTimerPeriod) << c.period << "," << c.interval;
    }
}

TEST_F(PeriodicTimerSchedule, CallsInTheWrongStatusAreIgnored) {
    std::vector<std::string> events;  // with the status at the time
    timer_.PeriodicStart = [&](PeriodicTimer& t) {
        events.push_back("start " + std::to_string(t.RefStatus()));
        t.TimerStart(0);  // changing: ignored
    };
    timer_.PeriodicStop = [&](PeriodicTimer& t) {
        events.push_back("stop " + std::to_string(t.RefStatus()));
    };

    timer_.TimerStop();  // stopped already: no PeriodicStop
    Start();
    timer_.TimerStart(0);
    timer_.Setup(5, 7);
    timer_.SetLowLoadMode(true);
    timer_.SetThreadMode(true);
    clock_ = kStartTime + 150 * kMs;  // an action is due
    timer_.ExternalTrigger();         // but running on the library timer: no occasion
    EXPECT_TRUE(times_.empty());
    FireAt(160);
    timer_.TimerStop();
    timer_.TimerStop();

    EXPECT_EQ(events, (std::vector<std::string>{"start 9", "stop 9"}));
    EXPECT_EQ(timer_.RefStatus(), PeriodicTimer::kStopped);
    EXPECT_EQ(timer_.Mode(), Timer::kModeOff);
    EXPECT_EQ(timer_.Interval(), 100);
    EXPECT_EQ(timer_.PeriodSetting(), 20);
    EXPECT_FALSE(timer_.RefThreadMode());
    EXPECT_EQ(times_, (std::vector<double>{160}));
}

// After a stop neither the last load nor the overload carries over. The clock then stands still,
// so that the second action comes by the fallback, which keeps the overload as it finds it.
TEST_F(PeriodicTimerSchedule, ARestartForgetsTheLoadAndTheOverload) {
    Start();
    handlerCost_ = 10 * kMs;
    FireEvery20(0, 200);
    FireAt(2000);  // overload
    timer_.TimerStop();
    ForgetActions();
    timer_.TimerStart(0);  // anchored at 2010, the end of that action
    for (int firing = 0; firing < 12; ++firing) {
        FireAt(2010);
    }
    EXPECT_EQ(loads_, (std::vector<std::int32_t>{0, 10}));
}

// On the real clock, with the library timer or the thread giving the occasions: actions run on
// the event loop's thread and end with the stop (a trigger still waiting then raises nothing).
TEST(PeriodicTimerLive, ActionsRunOnTheEventLoopThreadAndStopWithTheTimer) {
    for (const bool threadMode : {false, true}) {
        PeriodicTimer timer;
        const std::thread::id eventLoop = std::this_thread::get_id();
        int actions = 0;
        int offThread = 0;
        timer.PeriodicAction = [&](PeriodicTimer&, std::int32_t) {
            ++actions;
            offThread += std::this_thread::get_id() != eventLoop;
        };
        timer.SetThreadMode(threadMode);
        timer.Setup(20, 100);
        timer.TimerStart(0);
        EXPECT_EQ(timer.RefStatus(),
                  threadMode ? PeriodicTimer::kRunningOnThread : PeriodicTimer::kRunningOnTimer);
        EXPECT_EQ(timer.Mode(), threadMode ? Timer::kModeOff : Timer::kModeMultiple);
        RunEventLoopFor(560);
        timer.TimerStop();
        const int atStop = actions;
        RunEventLoopFor(250);
        // Five are due; a loaded machine may be a firing late at either end.
        EXPECT_GE(atStop, 3) << threadMode;
        EXPECT_LE(atStop, 6) << threadMode;
        EXPECT_EQ(offThread, 0);
        EXPECT_EQ(actions, atStop) << threadMode;
    }
}

TEST(PeriodicThreadMode, ATimerDestroyedWhileRunningLeavesNoTriggerBehind) {
    int actions = 0;
    {
        PeriodicTimer timer;
        timer.PeriodicAction = [&](PeriodicTimer&, std::int32_t) { ++actions; };
        timer.SetThreadMode(true);
        timer.Setup(1, 1);
        timer.TimerStart(0);
        // The first trigger comes 15 ms after the start; a loaded machine may take longer.
        for (int pass = 0; pass < 400 && actions == 0; ++pass) {
            RunEventLoopFor(5);
        }
        RunEventLoopFor(10);
        // Triggers are waiting in the event loop as the timer goes.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const int atEnd = actions;
    RunEventLoopFor(30);
    EXPECT_GT(atEnd, 0);
    EXPECT_EQ(actions, atEnd);

    PeriodicTimer owner;
    PeriodicThread thread;  // on its own: destroyed while running, it ends its loop first
    thread.SetOwner(&owner);
    thread.Run();
}

TEST(PeriodicThreadMode, TriggersCome15MsAfterTheStartThenAfterEachMillisecond) {
    std::atomic<double> clock{kStartTime};
    SetMicrosecondsSource([&clock] { return clock.load(); });
    ScheduledTimer timer;  // the thread's clock is set by the test
    timer.SetThreadMode(true);
    timer.Setup(20, 1000);  // no action falls due here: every occasion stays counted
    timer.TimerStart(0);

    // Sets the clock (µs after the start), waits (up to 1 s, for a loaded machine) for
    // `expected` occasions, then gives the thread 15 ms more in which one too many would show.
    auto occasionsAt = [&](double us, std::int32_t expected) {
        clock.store(kStartTime + us);
        for (int pass = 0; pass < 200 && timer.Occasions() < expected; ++pass) {
            RunEventLoopFor(5);
        }
        RunEventLoopFor(15);
        return timer.Occasions();
    };
    RunEventLoopFor(100);  // lets the thread take its start time
    const struct {
        double us;
        std::int32_t occasions;
    } steps[] = {
        {14000, 0}, {15000, 0},  // strictly after the first 15 ms
        {15001, 1},              //
        {16001, 1},              // 1 ms after the last trigger, not more
        {16002, 2},              //
        {16002, 2},              // a clock that stands still gives none
        {3000, 3},               // a clock that went back triggers at once
    };
    for (const auto& step : steps) {
        EXPECT_EQ(occasionsAt(step.us, step.occasions), step.occasions) << "at " << step.us;
    }
    // Three triggers while the event loop is busy: the first one waiting reads the clock for all.
    for (const double us : {20000, 22000, 24000}) {
        clock.store(kStartTime + us);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(occasionsAt(24000, 4), 4);
    // Stopped and at once started again: the thread starts afresh from the clock's reading.
    timer.TimerStop();
    timer.TimerStart(0);
    RunEventLoopFor(100);
    EXPECT_EQ(occasionsAt(24000 + 15001, 1), 1);
    timer.TimerStop();
    SetMicrosecondsSource({});
}
