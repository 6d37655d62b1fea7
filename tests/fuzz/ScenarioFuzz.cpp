// Scenario scripts: a run either succeeds or stops at one bad line with a short message,
// and every state dump is JSON.
#include <nlohmann/json.hpp>

#include <sstream>

#include "FuzzCheck.h"
#include "scenario/ScenarioError.h"
#include "scenario/ScenarioScript.h"

using namespace corvane::scenario;

namespace {

// Each advance may run up to an hour of virtual time; a few keep every run short.
constexpr std::size_t kMaxAdvances = 4;

std::size_t occurrences(std::string_view text, std::string_view word) {
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    if (occurrences(script, "advance") > kMaxAdvances) return 0;
    std::istringstream in(script);
    std::ostringstream out, err;
    const int status = runScenario(in, out, err);
    FUZZ_CHECK(status == kScenarioSucceeded || status == kScenarioRejected);
    FUZZ_CHECK((status == kScenarioRejected) == !err.str().empty());
    if (status == kScenarioRejected) {
        FUZZ_CHECK(err.str().starts_with("line "));
        FUZZ_CHECK(err.str().size() <= 3 * kMaxQuoted + 200);
    }
    // A dump is one line, or in the pretty style the lines from "{" to "}".
    std::istringstream dumps(out.str());
    std::string pretty;
    for (std::string line; std::getline(dumps, line);) {
        if (line == "{" || !pretty.empty()) {
            pretty += line + "\n";
            if (line != "}") continue;
            FUZZ_CHECK(nlohmann::json::accept(pretty));
            pretty.clear();
        } else if (line.starts_with("{")) {
            FUZZ_CHECK(nlohmann::json::accept(line));
        }
    }
    FUZZ_CHECK(pretty.empty());
    return 0;
}
