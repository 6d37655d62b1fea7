#pragma once

#include <stdexcept>

namespace corvane::scenario {

// A line the runner cannot carry out: an unknown command or a bad argument. The message names
// the problem; the runner adds the line number.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace corvane::scenario
