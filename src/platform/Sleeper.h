#pragma once

#include <chrono>

namespace corvane {

// Blocks the calling thread. Called from any thread.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(std::chrono::microseconds duration) = 0;
};

}  // namespace corvane
