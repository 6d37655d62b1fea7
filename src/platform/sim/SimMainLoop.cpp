#include "platform/sim/SimMainLoop.h"

namespace corvane::sim {

// Cancels its timer when cancelled or dropped; does nothing once the loop is gone.
class SimMainLoop::Handle final : public ScheduledWork {
public:
    Handle(std::weak_ptr<SimMainLoop*> loop, std::uint64_t id) : loop_(std::move(loop)), id_(id) {}
    ~Handle() override { cancel(); }
    void cancel() override {
        if (auto loop = loop_.lock()) (*loop)->cancel(id_);
    }

private:
    std::weak_ptr<SimMainLoop*> loop_;
    std::uint64_t id_;
};

SimMainLoop::SimMainLoop()
    : mainThread_(std::this_thread::get_id()), self_(std::make_shared<SimMainLoop*>(this)) {}

SimMainLoop::~SimMainLoop() = default;

void SimMainLoop::post(std::function<void()> task) {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(task));
}

std::unique_ptr<ScheduledWork> SimMainLoop::scheduleRepeating(Seconds interval,
                                                              std::function<void()> tick) {
    return std::make_unique<Handle>(self_, add(interval, interval, std::move(tick)));
}

std::unique_ptr<ScheduledWork> SimMainLoop::scheduleOnce(Seconds delay,
                                                         std::function<void()> work) {
    return std::make_unique<Handle>(self_, add(delay, Seconds(0), std::move(work)));
}

std::uint64_t SimMainLoop::add(Seconds delay, Seconds interval, std::function<void()> callback) {
    auto toNanos = [](Seconds s) {
        return std::chrono::round<std::chrono::nanoseconds>(s < Seconds(0) ? Seconds(0) : s);
    };
    std::uint64_t id = nextId_++;
    timers_[id] = Timer{now_ + toNanos(delay), toNanos(interval), std::move(callback)};
    return id;
}

void SimMainLoop::runPending() {
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty()) return;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
    }
}

bool SimMainLoop::fireNextDue(TimePoint limit) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->second.due <= limit && (next == timers_.end() || it->second.due < next->second.due))
            next = it;
    if (next == timers_.end()) return false;
    now_ = next->second.due;
    std::function<void()> callback = next->second.callback;
    if (next->second.interval.count() > 0)
        next->second.due += next->second.interval;
    else
        timers_.erase(next);
    callback();
    runPending();
    return true;
}

void SimMainLoop::advance(Seconds duration) {
    runPending();
    TimePoint limit = now_ + std::chrono::round<std::chrono::nanoseconds>(duration);
    while (fireNextDue(limit)) {
    }
    now_ = limit;
}

}  // namespace corvane::sim
