#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "EventLoop.h"
#include "Microseconds.h"
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
};

struct Action {
    double at;  // ms after the start
    std::int32_t load;
};

class PeriodicTimerSchedule : public testing::Test {
protected:
    void SetUp() override {
        SetMicrosecondsSource([this] { return clock_; });
        clock_ = kStartTime;
        timer_.PeriodicAction = [this](PeriodicTimer&, std::int32_t load) {
            actions_.push_back({(clock_ - kStartTime) / kMs, load});
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
    std::vector<double> ActionTimes() const {
        std::vector<double> times;
        for (const Action& a : actions_) {
            times.push_back(a.at);
        }
        return times;
    }

    double clock_ = 0;
    double handlerCost_ = 0;  // µs each PeriodicAction takes
    ScheduledTimer timer_;
    std::vector<Action> actions_;
};
}  // namespace

TEST_F(PeriodicTimerSchedule, SteadyFiringsGiveOneActionPerIntervalWithoutDrift) {
    Start();
    EXPECT_EQ(timer_.RefStatus(), PeriodicTimer::kRunningOnTimer);
    EXPECT_EQ(timer_.Period(), 20);
    EXPECT_EQ(timer_.Mode(), Timer::kModeMultiple);

    FireEvery20(0, 1000);
    // Each action comes at the first firing strictly after its due time; the anchor advances by
    // exactly one interval, so ten actions fit in a second.
    EXPECT_EQ(ActionTimes(), (std::vector<double>{120, 220, 320, 420, 520, 620, 720, 820, 920}));
    FireEvery20(1000, 10000);
    EXPECT_EQ(actions_.size(), 99u);
    EXPECT_DOUBLE_EQ(timer_.Anchor(), kStartTime + 9900 * kMs);
}

TEST_F(PeriodicTimerSchedule, LoadIsThePreviousActionsShareOfAnInterval) {
    Start();
    handlerCost_ = 30 * kMs;
    FireEvery20(0, 400);
    ASSERT_GE(actions_.size(), 3u);
    EXPECT_EQ(actions_[0].load, 0);  // the first action after a start
    EXPECT_EQ(actions_[1].load, 30);
    EXPECT_EQ(actions_[2].load, 30);
}

TEST_F(PeriodicTimerSchedule, A300MsStallIsCaughtUpOneActionPerFiring) {
    Start();
    handlerCost_ = 5 * kMs;
    FireEvery20(0, 500);  // actions at 120 .. 420; the anchor stands at 400
    actions_.clear();

    FireAt(820);  // the event loop was busy from 500 to 820
    FireEvery20(820, 1000);
    EXPECT_EQ(ActionTimes(), (std::vector<double>{820, 840, 860, 880, 920}));
    for (const Action& a : actions_) {
        EXPECT_GE(a.load, 0) << "no overload at " << a.at;
    }
}

TEST_F(PeriodicTimerSchedule, A2SecondStallRestartsTheScheduleWithANegativeLoad) {
    Start();
    handlerCost_ = 10 * kMs;
    FireEvery20(0, 500);
    actions_.clear();

    FireAt(2520);  // one action for the stall; it ends at 2530, far behind its due time 500
    FireEvery20(2520, 2800);
    ASSERT_EQ(ActionTimes(), (std::vector<double>{2520, 2640, 2740}));
    EXPECT_EQ(actions_[1].load, -10);  // the action after the restart reports the overload
    EXPECT_EQ(actions_[2].load, 10);
}

TEST_F(PeriodicTimerSchedule, AStuckClockGivesOneActionEverySixthFiring) {
    Start();
    for (int firing = 1; firing <= 18; ++firing) {
        timer_.TimingTest();  // the clock never moves from the start time
        EXPECT_EQ(actions_.size(), static_cast<std::size_t>(firing / 6)) << "firing " << firing;
    }
}

TEST_F(PeriodicTimerSchedule, AClockThatGoesBackKeepsTheActionsComing) {
    Start();
    FireEvery20(0, 240);  // actions at 120 and 220; the anchor stands at 200
    actions_.clear();
    for (int firing = 0; firing < 12; ++firing) {
        FireAt(-1000);  // back before the anchor
    }
    EXPECT_EQ(actions_.size(), 2u);
    EXPECT_DOUBLE_EQ(timer_.Anchor(), kStartTime - 1000 * kMs);
}

TEST_F(PeriodicTimerSchedule, SuspendedActionsRaiseNothingButKeepTheSchedule) {
    Start(3);
    FireEvery20(0, 500);
    EXPECT_EQ(ActionTimes(), (std::vector<double>{420}));
}

TEST_F(PeriodicTimerSchedule, TimerSyncInsideAHandlerRestartsFromTheHandlersEnd) {
    Start();
    timer_.PeriodicAction = [this](PeriodicTimer& sender, std::int32_t) {
        actions_.push_back({(clock_ - kStartTime) / kMs, 0});
        if (actions_.size() == 1) {
            sender.TimerSync();
        }
        clock_ += 5 * kMs;
    };
    FireEvery20(0, 400);
    // Synced at the end of the first action (125): the next is due at 225.
    EXPECT_EQ(ActionTimes(), (std::vector<double>{120, 240, 340}));
}

TEST_F(PeriodicTimerSchedule, TimerSyncOutsideAHandlerChangesNothing) {
    Start();
    FireEvery20(0, 140);
    timer_.TimerSync();
    FireEvery20(140, 400);
    EXPECT_EQ(ActionTimes(), (std::vector<double>{120, 220, 320}));
}

struct ClampCase {
    std::int32_t period, interval;
    bool lowLoad;
    std::int32_t wantPeriod, wantInterval, wantTimerPeriod;
};

TEST_F(PeriodicTimerSchedule, BadSettingsAreClampedAtStart) {
    const ClampCase cases[] = {
        {0, 0, false, 1, 1, 1},         // nothing below 1 ms
        {50, 20, false, 20, 20, 20},    // no firing slower than an action
        {-5, 100, false, 1, 100, 1},    //
        {20, 100, true, 20, 100, 100},  // low load: one firing per action
    };
    for (const ClampCase& c : cases) {
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
    std::vector<std::string> events;
    std::vector<std::int32_t> statuses;
    timer_.PeriodicStart = [&](PeriodicTimer& t) {
        events.push_back("start");
        statuses.push_back(t.RefStatus());
        t.TimerStart(0);  // changing: ignored
    };
    timer_.PeriodicStop = [&](PeriodicTimer& t) {
        events.push_back("stop");
        statuses.push_back(t.RefStatus());
    };

    timer_.TimerStop();  // stopped already: no PeriodicStop
    Start();
    timer_.TimerStart(0);
    timer_.Setup(5, 7);
    timer_.SetLowLoadMode(true);
    timer_.SetThreadMode(true);
    clock_ = kStartTime + 150 * kMs;  // an action is due
    timer_.ExternalTrigger();         // but running on the library timer: no occasion
    EXPECT_TRUE(actions_.empty());
    FireAt(160);
    timer_.TimerStop();
    timer_.TimerStop();

    EXPECT_EQ(events, (std::vector<std::string>{"start", "stop"}));
    EXPECT_EQ(statuses, (std::vector<std::int32_t>{9, 9}));
    EXPECT_EQ(timer_.RefStatus(), PeriodicTimer::kStopped);
    EXPECT_EQ(timer_.Mode(), Timer::kModeOff);
    EXPECT_EQ(timer_.Interval(), 100);
    EXPECT_EQ(timer_.PeriodSetting(), 20);
    EXPECT_FALSE(timer_.RefThreadMode());
    EXPECT_EQ(ActionTimes(), (std::vector<double>{160}));
}

TEST_F(PeriodicTimerSchedule, TheFirstActionAfterARestartReportsNoLoad) {
    Start();
    handlerCost_ = 10 * kMs;
    FireEvery20(0, 200);
    FireAt(2000);  // overload
    timer_.TimerStop();
    actions_.clear();
    timer_.TimerStart(0);  // anchored at 2000 + the handler's 10 ms
    FireEvery20(2000, 2200);
    ASSERT_EQ(actions_.size(), 1u);
    EXPECT_EQ(actions_[0].load, 0);
}

TEST(PeriodicTimerLive, ALibraryTimerDrivesActionsInTheEventLoop) {
    PeriodicTimer timer;
    int actions = 0;
    timer.PeriodicAction = [&](PeriodicTimer&, std::int32_t) { ++actions; };
    timer.Setup(20, 100);
    timer.TimerStart(0);
    RunEventLoopFor(560);
    timer.TimerStop();
    // Five are due; a loaded machine may be a firing late at either end.
    EXPECT_GE(actions, 3);
    EXPECT_LE(actions, 6);
}

TEST(PeriodicThreadMode, ActionsRunOnTheEventLoopThreadAndStopWithTheTimer) {
    PeriodicTimer timer;
    const std::thread::id eventLoop = std::this_thread::get_id();
    int actions = 0;
    int offThread = 0;
    timer.PeriodicAction = [&](PeriodicTimer&, std::int32_t) {
        ++actions;
        offThread += std::this_thread::get_id() != eventLoop;
    };
    timer.SetThreadMode(true);
    timer.Setup(20, 100);
    timer.TimerStart(0);
    EXPECT_EQ(timer.RefStatus(), PeriodicTimer::kRunningOnThread);
    EXPECT_EQ(timer.Mode(), Timer::kModeOff);  // the library timer stays off in thread mode
    RunEventLoopFor(560);
    timer.TimerStop();
    const int atStop = actions;
    RunEventLoopFor(250);

    EXPECT_GE(atStop, 3);
    EXPECT_LE(atStop, 6);
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(actions, atStop);  // a trigger still waiting at the stop raises nothing
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
}

namespace {
// Counts the occasions that reach the timer; the thread's clock is set by the test.
class OccasionCountingTimer : public PeriodicTimer {
public:
    std::int32_t Occasions() const { return ActionCounter; }
};
}  // namespace

TEST(PeriodicThreadMode, TriggersCome15MsAfterTheStartThenAfterEachMillisecond) {
    std::atomic<double> clock{kStartTime};
    SetMicrosecondsSource([&clock] { return clock.load(); });
    OccasionCountingTimer timer;
    timer.SetThreadMode(true);
    timer.Setup(20, 1000);  // no action falls due here: every occasion stays counted
    timer.TimerStart(0);

    // Sets the clock, waits (up to 1 s, for a loaded machine) for `expected` occasions, then
    // gives the thread 15 ms more in which any trigger too many would show.
    auto occasionsAt = [&](double ms, std::int32_t expected) {
        clock.store(kStartTime + ms * kMs);
        for (int pass = 0; pass < 200 && timer.Occasions() < expected; ++pass) {
            RunEventLoopFor(5);
        }
        RunEventLoopFor(15);
        return timer.Occasions();
    };
    RunEventLoopFor(100);  // lets the thread take its start time
    const struct {
        double ms;
        std::int32_t occasions;
    } steps[] = {
        {14, 0},   {15, 0},  // strictly after the first 15 ms
        {15.5, 1},           //
        {16.5, 1},           // 1 ms after the last trigger, not more
        {16.6, 2},           //
        {16.6, 2},           // a clock that stands still gives none
        {3, 3},              // a clock that went back triggers at once
    };
    for (const auto& step : steps) {
        EXPECT_EQ(occasionsAt(step.ms, step.occasions), step.occasions) << "at " << step.ms;
    }
    timer.TimerStop();
    SetMicrosecondsSource({});
}
