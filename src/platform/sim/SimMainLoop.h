#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/MainLoop.h"

namespace corvane::sim {

// A main loop on virtual time. Nothing runs by itself: runPending() runs the posted tasks,
// advance() moves the clock and fires every timer that falls due on the way, in time order,
// running the tasks they post after each firing. Tasks promised by other threads are waited
// for and run in the order they were promised, after the tasks posted before them.
class SimMainLoop final : public MainLoop {
public:
    SimMainLoop();
    ~SimMainLoop() override;

    void post(std::function<void()> task) override;
    std::unique_ptr<ScheduledWork> scheduleRepeating(Seconds interval,
                                                     std::function<void()> tick) override;
    std::unique_ptr<ScheduledWork> scheduleOnce(Seconds delay,
                                                std::function<void()> work) override;
    std::unique_ptr<PromisedTask> promiseTask() override;
    TimePoint now() const override { return now_; }
    bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }

    // Runs posted tasks until none is left, waiting for every promised task to arrive (or
    // be withdrawn).
    void runPending();
    // Moves virtual time forward by `duration`, firing due timers on the way.
    void advance(Seconds duration);
    // How many callbacks the loop has made: timers fired and posted tasks run.
    std::uint64_t callbacks() const { return callbacks_; }
    // How many timers and work items are scheduled now.
    std::size_t scheduledCount() const { return timers_.size(); }

private:
    struct Timer {
        TimePoint due;
        std::chrono::nanoseconds interval;  // zero for a one-shot work item
        std::function<void()> callback;
    };
    class Handle;
    class Promise;
    // A promise's slot: its task once posted; the slot goes when the task runs or the promise
    // is withdrawn.
    using PromiseSlots = std::map<std::uint64_t, std::function<void()>>;

    std::uint64_t add(Seconds delay, Seconds interval, std::function<void()> callback);
    void cancel(std::uint64_t id) { timers_.erase(id); }
    bool fireNextDue(TimePoint limit);
    // The next task to run: the oldest posted one, else the oldest promised one once it has
    // arrived (waiting for it). Empty when nothing is posted or promised.
    std::function<void()> nextTask();
    void fulfil(std::uint64_t promise, std::function<void()> task);
    void withdraw(std::uint64_t promise);

    std::thread::id mainThread_;
    TimePoint now_{};
    std::uint64_t nextId_ = 1;
    std::uint64_t callbacks_ = 0;
    std::map<std::uint64_t, Timer> timers_;
    std::mutex postedMutex_;
    std::deque<std::function<void()>> posted_;
    std::condition_variable promiseArrived_;
    PromiseSlots promises_;
    std::uint64_t nextPromise_ = 1;
    std::shared_ptr<SimMainLoop*> self_;
};

}  // namespace corvane::sim
