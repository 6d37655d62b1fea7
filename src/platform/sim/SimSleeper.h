#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Sleeper.h"

namespace corvane::sim {

// A sleep that returns at once and records how long it was asked to block, so that protocol
// timing is checked on a virtual clock. Thread-safe.
class SimSleeper final : public Sleeper {
public:
    void sleep(std::chrono::microseconds duration) override;

    std::vector<std::chrono::microseconds> durations() const;
    std::chrono::microseconds elapsed() const;
    void clear();
    // Calls `hook` on the sleeping thread after each recorded sleep, so that a test can hold a
    // worker at a known point. Set it while no thread sleeps; empty removes it.
    void setHook(std::function<void(std::chrono::microseconds)> hook);

private:
    mutable std::mutex mutex_;
    std::vector<std::chrono::microseconds> durations_;
    std::chrono::microseconds elapsed_{0};
    std::function<void(std::chrono::microseconds)> hook_;
};

}  // namespace corvane::sim
