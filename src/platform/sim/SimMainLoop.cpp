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

// A promised task's handle on the loop: posting fills its slot, dropping it unposted frees it.
class SimMainLoop::Promise final : public PromisedTask {
public:
    Promise(std::weak_ptr<SimMainLoop*> loop, std::uint64_t id) : loop_(std::move(loop)), id_(id) {}
    ~Promise() override {
        if (posted_) return;
        if (auto loop = loop_.lock()) (*loop)->withdraw(id_);
    }
    void post(std::function<void()> task) override {
        if (posted_) return;
        posted_ = true;
        if (auto loop = loop_.lock()) (*loop)->fulfil(id_, std::move(task));
    }

private:
    std::weak_ptr<SimMainLoop*> loop_;
    std::uint64_t id_;
    bool posted_ = false;
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

std::unique_ptr<PromisedTask> SimMainLoop::promiseTask() {
    std::lock_guard lock(postedMutex_);
    std::uint64_t id = nextPromise_++;
    promises_.emplace(id, nullptr);
    return std::make_unique<Promise>(self_, id);
}

void SimMainLoop::fulfil(std::uint64_t promise, std::function<void()> task) {
    std::lock_guard lock(postedMutex_);
    auto slot = promises_.find(promise);
    if (slot == promises_.end()) return;
    // A task that holds nothing to run still has to free its slot.
    slot->second = task ? std::move(task) : [] {};
    promiseArrived_.notify_all();
}

void SimMainLoop::withdraw(std::uint64_t promise) {
    std::lock_guard lock(postedMutex_);
    promises_.erase(promise);
    promiseArrived_.notify_all();
}

std::function<void()> SimMainLoop::nextTask() {
    std::unique_lock lock(postedMutex_);
    for (;;) {
        if (!posted_.empty()) {
            std::function<void()> task = std::move(posted_.front());
            posted_.pop_front();
            return task;
        }
        if (promises_.empty()) return nullptr;
        auto oldest = promises_.begin();
        if (oldest->second) {
            std::function<void()> task = std::move(oldest->second);
            promises_.erase(oldest);
            return task;
        }
        promiseArrived_.wait(lock);
    }
}

void SimMainLoop::runPending() {
    while (std::function<void()> task = nextTask()) {
        ++callbacks_;
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
    ++callbacks_;
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
