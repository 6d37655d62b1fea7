#include "scenario/ScenarioScript.h"

#include <istream>
#include <ostream>
#include <string>

#include "scenario/ScenarioError.h"
#include "scenario/ScenarioRunner.h"

namespace corvane::scenario {

int runScenario(std::istream& in, std::ostream& out, std::ostream& err) {
    ScenarioRunner runner(out);
    std::string line;
    for (long number = 1; std::getline(in, line); ++number) {
        try {
            runner.runLine(line);
        } catch (const ScenarioError& error) {
            err << "line " << number << ": " << error.what() << '\n';
            return kScenarioRejected;
        } catch (const std::exception& error) {
            // Anything the checks above missed still ends the run cleanly.
            err << "line " << number << ": cannot run: " << error.what() << '\n';
            return kScenarioRejected;
        }
    }
    return kScenarioSucceeded;
}

}  // namespace corvane::scenario
