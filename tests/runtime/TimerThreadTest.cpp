#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "EventLoop.h"
#include "RuntimeBackgroundTask.h"
#include "Thread.h"
#include "Timer.h"

namespace {
using Clock = std::chrono::steady_clock;

class CountingTimer : public Timer {
public:
    int actions = 0;
    void Event_Action() override { ++actions; }
};

// Joined by Thread's own destructor.
class WorkerThread : public Thread {
public:
    std::function<void()> work;
    void Event_Run() override { work(); }
};
}  // namespace

TEST(TimerTest, ModeTwoFiresEveryPeriodUntilTurnedOff) {
    CountingTimer timer;
    EXPECT_EQ(timer.Mode(), Timer::kModeOff);
    timer.SetPeriod(20);
    RunEventLoopFor(60);
    EXPECT_EQ(timer.actions, 0);  // made off

    timer.SetMode(Timer::kModeMultiple);
    RunEventLoopFor(210);
    EXPECT_GE(timer.actions, 5);  // a loaded machine may skip firings; none come early
    EXPECT_LE(timer.actions, 11);

    timer.SetMode(Timer::kModeOff);
    const int atOff = timer.actions;
    RunEventLoopFor(60);
    EXPECT_EQ(timer.actions, atOff);
}

// A runtime thread pauses about 1 ms in each pass of the background task; the event loop's
// thread never does. What a thread posts runs on the event loop's thread, once the loop runs.
TEST(ThreadTest, RunsOnItsOwnThreadAgainPausesInTheBackgroundTaskAndPostsToTheEventLoop) {
    WorkerThread thread;
    const std::thread::id eventLoop = std::this_thread::get_id();
    std::atomic<int> runs{0};
    std::thread::id ranOn, postedRanOn;
    bool sawEventLoop = true;
    Clock::duration paused{};
    thread.work = [&] {
        ranOn = std::this_thread::get_id();
        sawEventLoop = IsEventLoopThread();
        const auto start = Clock::now();
        for (int pass = 0; pass < 20; ++pass) {
            RuntimeBackgroundTask();
        }
        paused = Clock::now() - start;
        PostToEventLoop([&] { postedRanOn = std::this_thread::get_id(); });
        ++runs;
    };
    for (int run = 1; run <= 2; ++run) {  // never joined by hand: Run joins a finished run
        thread.Run();
        while (thread.IsRunning()) {
            std::this_thread::yield();
        }
        EXPECT_EQ(runs.load(), run);
    }
    EXPECT_NE(ranOn, eventLoop);
    EXPECT_FALSE(sawEventLoop);
    EXPECT_GE(paused, std::chrono::milliseconds(20));
    EXPECT_EQ(postedRanOn, std::thread::id());
    RunEventLoopFor(10);
    EXPECT_EQ(postedRanOn, eventLoop);

    const auto start = Clock::now();
    for (int pass = 0; pass < 1000; ++pass) {
        RuntimeBackgroundTask();
    }
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_TRUE(IsEventLoopThread());
}
