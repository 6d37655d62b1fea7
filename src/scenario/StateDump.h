#pragma once

#include <nlohmann/json.hpp>

#include "scenario/ScenarioWorld.h"

namespace corvane::scenario {

// Everything a scenario can observe, as one JSON object: the published displays, the requested
// and previous levels, the readouts and settings, the hold, the indicator, each simulated
// display's hardware and the stored preferences. The model must be started.
nlohmann::ordered_json dumpState(ScenarioWorld& world);

// A number as JSON: whole values as integers, others as they are.
nlohmann::ordered_json jsonNumber(double value);

}  // namespace corvane::scenario
