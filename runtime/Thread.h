#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// A runtime thread: Run starts Event_Run on a thread of its own. Threads here preempt each
// other; work that touches the event loop's objects goes there through PostToEventLoop.
class Thread {
public:
    Thread();
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Does nothing while the thread runs; a finished thread may be run again.
    void Run();
    bool IsRunning() const;
    // Waits for Event_Run to return.
    void Join();

    // Kept for the callers' sake; the system schedules the threads.
    std::int32_t Priority = 5;

protected:
    // Runs on the thread. A subclass whose Event_Run uses its own members must end the loop and
    // Join in its own destructor: by the time ~Thread joins, those members are gone.
    virtual void Event_Run() {}

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Delivers `call` to the event loop's thread, to run there between events. Dropped when there
// is no application object.
void PostToEventLoop(std::function<void()> call);

// True on the thread that runs the event loop (or when there is no application object yet).
bool IsEventLoopThread();
