#pragma once

#include <iosfwd>

namespace corvane::scenario {

// Exit statuses of a scenario run.
inline constexpr int kScenarioSucceeded = 0;
inline constexpr int kScenarioRejected = 2;

// Runs every line of `in` on a fresh simulated desktop, dumps going to `out`. At the first bad
// line it writes "line N: problem" to `err`, runs nothing more and returns kScenarioRejected.
int runScenario(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace corvane::scenario
