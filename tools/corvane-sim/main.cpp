// corvane-sim: runs a brightness scenario on the simulated desktop, from a file or from
// standard input. See docs/corvane-sim.md.
#include <fstream>
#include <iostream>

#include "scenario/ScenarioScript.h"

int main(int argc, char** argv) {
    using namespace corvane::scenario;
    if (argc > 2) {
        std::cerr << "usage: corvane-sim [scenario-file]\n";
        return kScenarioRejected;
    }
    if (argc == 1) return runScenario(std::cin, std::cout, std::cerr);
    std::ifstream file(argv[1]);
    if (!file) {
        std::cerr << "corvane-sim: cannot open " << argv[1] << '\n';
        return kScenarioRejected;
    }
    return runScenario(file, std::cout, std::cerr);
}
