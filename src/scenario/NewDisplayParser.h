#pragma once

#include "platform/sim/SimDisplayConfig.h"
#include "scenario/Arguments.h"

namespace corvane::scenario {

// Reads the words of an `add` line: the kind (builtin, boost, ddc, gamma or none), the name,
// then any key=value settings and the flag `main`. Throws ScenarioError for anything else.
sim::SimDisplayConfig parseNewDisplay(Arguments& arguments);

}  // namespace corvane::scenario
