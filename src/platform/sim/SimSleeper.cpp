#include "platform/sim/SimSleeper.h"

namespace corvane::sim {

void SimSleeper::sleep(std::chrono::microseconds duration) {
    std::function<void(std::chrono::microseconds)> hook;
    {
        std::lock_guard lock(mutex_);
        durations_.push_back(duration);
        elapsed_ += duration;
        hook = hook_;
    }
    if (hook) hook(duration);
}

void SimSleeper::setHook(std::function<void(std::chrono::microseconds)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

std::vector<std::chrono::microseconds> SimSleeper::durations() const {
    std::lock_guard lock(mutex_);
    return durations_;
}

std::chrono::microseconds SimSleeper::elapsed() const {
    std::lock_guard lock(mutex_);
    return elapsed_;
}

void SimSleeper::clear() {
    std::lock_guard lock(mutex_);
    durations_.clear();
    elapsed_ = std::chrono::microseconds(0);
}

}  // namespace corvane::sim
