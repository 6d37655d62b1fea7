#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "scenario/ScenarioScript.h"

namespace corvane::scenario {
namespace {

using nlohmann::json;

// What a scenario file left behind: its exit status, every dump and the error text.
struct Outcome {
    int status = -1;
    std::vector<json> dumps;
    std::string errors;
};

// Every JSON value in the output, whether printed on one line or indented.
std::vector<json> parseDumps(std::istream& output) {
    std::vector<json> dumps;
    while ((output >> std::ws).peek() != std::char_traits<char>::eof()) {
        json dump;
        output >> dump;
        dumps.push_back(std::move(dump));
    }
    return dumps;
}

Outcome runPath(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream out, err;
    Outcome outcome;
    outcome.status = runScenario(file, out, err);
    outcome.dumps = parseDumps(out);
    outcome.errors = err.str();
    return outcome;
}

// A file's tests count its dumps: each file ends with one, so a run that stops early has fewer.
Outcome runFile(const std::string& name) {
    return runPath(std::filesystem::path(CORVANE_SCENARIO_DIR) / name);
}

const json& displayRecord(const json& dump, int id) {
    for (const json& record : dump["displays"])
        if (record["id"] == id) return record;
    throw std::runtime_error("no record for display " + std::to_string(id));
}

TEST(ScenarioFiles, AKeyStepsTheBuiltInPanelAndShowsTheIndicatorOnIt) {
    Outcome run = runFile("key_step.scn");
    ASSERT_EQ(run.dumps.size(), 3u) << run.errors;
    const json& up = run.dumps[0];
    EXPECT_EQ(up["hardware"][0]["backlight"], 0.5625);
    EXPECT_EQ(up["focusDisplay"], 1);
    EXPECT_EQ(up["menuPercent"], 80);
    EXPECT_EQ(up["hud"]["shown"], true);
    EXPECT_EQ(up["hud"]["display"], 1);
    EXPECT_EQ(up["hold"]["running"], true);
    EXPECT_DOUBLE_EQ(up["hold"]["until"].get<double>(), 0.9);

    const json& fine = run.dumps[1];
    EXPECT_EQ(displayRecord(fine, 1)["percent"], 55.25);

    const json& later = run.dumps[2];
    EXPECT_EQ(later["hud"]["shown"], false);
    EXPECT_EQ(later["hold"]["running"], false);
    EXPECT_DOUBLE_EQ(later["time"].get<double>(), 2.1);
}

TEST(ScenarioFiles, AFailingDDCMonitorDegradesAndFallsBackToSoftware) {
    Outcome run = runFile("ddc_fallback.scn");
    ASSERT_EQ(run.dumps.size(), 3u) << run.errors;
    EXPECT_EQ(displayRecord(run.dumps[0], 2)["path"], "ddc");
    EXPECT_EQ(run.dumps[0]["hardware"][1]["ddc"]["current"], 21);

    const json& fallen = run.dumps[2];
    EXPECT_EQ(displayRecord(fallen, 2)["path"], "software");
    EXPECT_EQ(fallen["hardware"][1]["ddc"]["current"], 21);
    EXPECT_NEAR(fallen["hardware"][1]["gamma"].get<double>(), 0.525 * 0.88 + 0.12, 1e-6);
}

TEST(ScenarioFiles, AHotPlugLeavesAGammaDimmedMonitorDimmed) {
    Outcome run = runFile("hot_plug_gamma.scn");
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    const double dimmed = run.dumps[0]["hardware"][0]["gamma"].get<double>();
    EXPECT_NEAR(dimmed, 0.3 * 0.88 + 0.12, 1e-6);
    EXPECT_EQ(run.dumps[1]["hardware"][0]["gamma"].get<double>(), dimmed);
}

TEST(ScenarioFiles, TheBatteryLimitCapsABoostPanelUntilMainsPower) {
    Outcome run = runFile("battery_limit.scn");
    ASSERT_EQ(run.dumps.size(), 3u) << run.errors;
    const json& peak = run.dumps[0];
    EXPECT_EQ(peak["isBoosting"], true);
    EXPECT_EQ(peak["hardware"][0]["overlay"]["built"], true);
    EXPECT_GT(peak["hardware"][0]["overlay"]["factor"].get<double>(), 1);

    const json& capped = run.dumps[1];
    EXPECT_EQ(capped["intendedPercents"]["1"], 100);
    EXPECT_EQ(capped["hardware"][0]["overlay"]["built"], false);

    const json& mains = run.dumps[2];
    EXPECT_EQ(displayRecord(mains, 1)["percent"], 100);
}

TEST(ScenarioFiles, APresetMovesEveryDisplayAndRestoreGoesBack) {
    Outcome run = runFile("presets.scn");
    ASSERT_EQ(run.dumps.size(), 2u) << run.errors;
    const json& preset = run.dumps[0];
    EXPECT_EQ(preset["previousPercents"]["2"], 80);
    EXPECT_EQ(preset["hud"]["nits"], 1000);

    const json& restored = run.dumps[1];
    EXPECT_NEAR(displayRecord(restored, 1)["percent"].get<double>(), 30, 1e-5);
}

TEST(ScenarioFiles, TheDocumentedExamplesRun) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CORVANE_DOCS_SCENARIO_DIR)) {
        if (entry.path().extension() != ".scn") continue;
        ++examples;
        Outcome run = runPath(entry.path());
        EXPECT_EQ(run.status, kScenarioSucceeded) << entry.path() << ": " << run.errors;
        EXPECT_FALSE(run.dumps.empty()) << entry.path();
    }
    EXPECT_GE(examples, 2);
}

// The real program, from a file and from standard input: a bad line ends the run with
// status 2, names itself on standard error, and nothing after it runs.
TEST(ScenarioFiles, TheProgramStopsAtABadLine) {
    std::string scenario = std::string(CORVANE_SCENARIO_DIR) + "/bad_line.scn";
    auto temp =
        std::filesystem::temp_directory_path() / ("corvane-sim-" + std::to_string(getpid()));
    std::filesystem::create_directories(temp);
    for (const std::string& input : {" " + scenario, " < " + scenario}) {
        std::string command = std::string(CORVANE_SIM_PATH) + input + " > " +
                              (temp / "out").string() + " 2> " + (temp / "err").string();
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 2) << command;
        std::ifstream out(temp / "out"), err(temp / "err");
        EXPECT_EQ(parseDumps(out).size(), 1u);
        std::string message((std::istreambuf_iterator<char>(err)), {});
        EXPECT_EQ(message, "line 4: key must be one of down|up, not 'sideways'\n");
    }
    std::filesystem::remove_all(temp);
}

}  // namespace
}  // namespace corvane::scenario
