#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace corvane {

// Monotonic time on the main loop's clock.
using MonotonicClock = std::chrono::steady_clock;
using TimePoint = std::chrono::time_point<MonotonicClock, std::chrono::nanoseconds>;
using Seconds = std::chrono::duration<double>;

// A scheduled timer or work item. Invalidating it, or dropping the handle, stops it: a
// cancelled callback never runs afterwards.
class ScheduledWork {
public:
    virtual ~ScheduledWork() = default;
    virtual void cancel() = 0;
};

// A task that another thread posts to the main loop later, announced on the main thread
// before that thread starts. Dropping it without posting withdraws the announcement.
class PromisedTask {
public:
    virtual ~PromisedTask() = default;
    // Posts the task; at most once. Safe to call from any thread.
    virtual void post(std::function<void()> task) = 0;
};

// The main thread's run loop: the one thread that touches the model and every window.
class MainLoop {
public:
    virtual ~MainLoop() = default;

    // Runs `task` on the main thread after the current work, in posting order. Safe to call
    // from any thread.
    virtual void post(std::function<void()> task) = 0;
    // Calls `tick` every `interval` on the main thread until cancelled.
    virtual std::unique_ptr<ScheduledWork> scheduleRepeating(Seconds interval,
                                                             std::function<void()> tick) = 0;
    // Calls `work` once on the main thread after `delay`, unless cancelled first.
    virtual std::unique_ptr<ScheduledWork> scheduleOnce(Seconds delay,
                                                        std::function<void()> work) = 0;
    // Announces a task that another thread will post. A real loop simply runs it when it
    // arrives; the simulated loop waits for announced tasks and runs them in the order they
    // were announced, so that work finished on other threads stays deterministic.
    virtual std::unique_ptr<PromisedTask> promiseTask();
    virtual TimePoint now() const = 0;
    virtual bool isMainThread() const = 0;
};

}  // namespace corvane
