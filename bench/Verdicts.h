#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvane::bench {

// One line per benchmark: what it must reach and what it measured, printed after the run.
struct Verdict {
    std::string name;
    std::string target;
    std::string measured;
    bool met = false;
};

inline std::vector<Verdict>& verdicts() {
    static std::vector<Verdict> all;
    return all;
}

// Records the last run of `name` (a benchmark may run more than once while it warms up).
inline void recordVerdict(const std::string& name, const std::string& target,
                          const std::string& measured, bool met) {
    for (Verdict& verdict : verdicts())
        if (verdict.name == name) {
            verdict = {name, target, measured, met};
            return;
        }
    verdicts().push_back({name, target, measured, met});
}

inline std::string figure(double value, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3g %s", value, unit);
    return text;
}

// "name: target … measured … (met|MISSED)", one line each; false when any target was missed.
inline bool printVerdicts() {
    bool all = true;
    for (const Verdict& verdict : verdicts()) {
        std::printf("%-44s target %-18s measured %-14s %s\n", verdict.name.c_str(),
                    verdict.target.c_str(), verdict.measured.c_str(),
                    verdict.met ? "met" : "MISSED");
        all = all && verdict.met;
    }
    return all;
}

}  // namespace corvane::bench
