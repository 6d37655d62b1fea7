#pragma once

#include <thread>

#include "platform/Sleeper.h"

namespace corvane::app {

// Blocks the calling thread for the duration.
class ThreadSleeper final : public Sleeper {
  public:
    void sleep(std::chrono::microseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace corvane::app
