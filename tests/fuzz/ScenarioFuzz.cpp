// Scenario scripts: a run either succeeds or stops at one bad line with a short message,
// and every state dump is JSON.
#include <nlohmann/json.hpp>

#include <sstream>

#include "FuzzCheck.h"
#include "scenario/ScenarioError.h"
#include "scenario/ScenarioScript.h"

using namespace corvane::scenario;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out, err;
    const int status = runScenario(in, out, err);
    FUZZ_CHECK(status == kScenarioSucceeded || status == kScenarioRejected);
    FUZZ_CHECK((status == kScenarioRejected) == !err.str().empty());
    if (status == kScenarioRejected) {
        FUZZ_CHECK(err.str().starts_with("line "));
        FUZZ_CHECK(err.str().size() <= 3 * kMaxQuoted + 200);
    }
    std::istringstream dumps(out.str());
    for (std::string line; std::getline(dumps, line);)
        if (line.starts_with("{")) FUZZ_CHECK(nlohmann::json::accept(line));
    return 0;
}
