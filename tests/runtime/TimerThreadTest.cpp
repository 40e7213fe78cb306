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

class WorkerThread : public Thread {
public:
    ~WorkerThread() override { Join(); }
    std::function<void()> work;

protected:
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

TEST(ThreadTest, RunsOnItsOwnThreadAndCanRunAgain) {
    WorkerThread thread;
    std::atomic<int> runs{0};
    std::thread::id ranOn;
    thread.work = [&] {
        ranOn = std::this_thread::get_id();
        ++runs;
    };
    thread.Run();
    thread.Join();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_NE(ranOn, std::this_thread::get_id());
    thread.Run();
    thread.Join();
    EXPECT_EQ(runs.load(), 2);
}

TEST(ThreadTest, PostedCallsRunOnTheEventLoopThread) {
    WorkerThread thread;
    const std::thread::id eventLoop = std::this_thread::get_id();
    std::thread::id ranOn;
    bool ran = false;
    thread.work = [&] {
        PostToEventLoop([&] {
            ran = true;
            ranOn = std::this_thread::get_id();
        });
    };
    thread.Run();
    thread.Join();
    EXPECT_FALSE(ran);  // not before the event loop runs
    RunEventLoopFor(10);
    EXPECT_TRUE(ran);
    EXPECT_EQ(ranOn, eventLoop);
    EXPECT_TRUE(IsEventLoopThread());
}

TEST(ThreadTest, TheBackgroundTaskPausesRuntimeThreadsOnly) {
    WorkerThread thread;
    Clock::duration onThread{};
    bool threadSawEventLoop = true;
    thread.work = [&] {
        threadSawEventLoop = IsEventLoopThread();
        const auto start = Clock::now();
        for (int pass = 0; pass < 20; ++pass) {
            RuntimeBackgroundTask();
        }
        onThread = Clock::now() - start;
    };
    thread.Run();
    thread.Join();
    EXPECT_FALSE(threadSawEventLoop);
    EXPECT_GE(onThread, std::chrono::milliseconds(20));  // about 1 ms a pass

    const auto start = Clock::now();
    for (int pass = 0; pass < 1000; ++pass) {
        RuntimeBackgroundTask();  // the event loop's thread never sleeps here
    }
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(20));
}
