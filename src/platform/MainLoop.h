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
    virtual TimePoint now() const = 0;
    virtual bool isMainThread() const = 0;
};

}  // namespace corvane
