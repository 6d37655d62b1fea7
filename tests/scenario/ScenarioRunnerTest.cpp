#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "scenario/ScenarioError.h"
#include "scenario/ScenarioRunner.h"

namespace corvane::scenario {
namespace {

using nlohmann::json;

class ScenarioRunnerTest : public ::testing::Test {
protected:
    void run(std::initializer_list<std::string_view> lines) {
        for (std::string_view line : lines) runner.runLine(line);
    }
    json dump() {
        out.str("");
        runner.runLine("dump");
        return json::parse(out.str());
    }
    double percent(DisplayID id) { return runner.world().model()->sessions().at(id)->percent(); }

    std::stringstream out;
    ScenarioRunner runner{out};
};

// What the model makes of stored settings at start is the model tests' business.
TEST_F(ScenarioRunnerTest, PreferencesKeepTheirTypes) {
    run({"pref number -2.5", "pref flag true", "pref text \"12\"", "pref odd other",
         "pref gone false", "pref gone delete", "start"});
    const json stored = dump()["preferences"];
    EXPECT_EQ(stored["number"], -2.5);
    EXPECT_EQ(stored["flag"], true);
    EXPECT_EQ(stored["text"], "12");
    EXPECT_TRUE(stored["odd"].is_null());
    EXPECT_FALSE(stored.contains("gone"));
}

TEST_F(ScenarioRunnerTest, DisplaysComeAndGoWhileRunning) {
    run({"add builtin Panel", "start", "add gamma \"The \\\"Big\\\" One\" length=64 # hot plug"});
    json state = dump();
    EXPECT_EQ(state["displays"][1]["name"], "The \"Big\" One");

    run({"minus 2", "unplug 2"});
    state = dump();
    EXPECT_EQ(state["hardware"][1]["online"], false);
    EXPECT_THROW(runner.runLine("plus 2"), ScenarioError);  // no card any more

    run({"plug 2"});
    EXPECT_DOUBLE_EQ(percent(2), 73.75);
}

TEST_F(ScenarioRunnerTest, CardsSettingsAndTheOutsideWorldReachTheModel) {
    run({"add builtin Panel backlight=0.5", "add gamma LG", "start", "set sync on", "slide 2 120"});
    EXPECT_DOUBLE_EQ(percent(1), 100);
    run({"set sync off", "slide 1 30", "set percent off", "set nits on"});
    json state = dump();
    EXPECT_EQ(state["hud"]["percent"], 30);
    EXPECT_EQ(state["showMenuPercent"], false);
    EXPECT_EQ(state["showMenuNits"], true);

    // Moved from outside: a wake puts the level back at once, the poll adopts it later.
    run({"backlight 1 0.9", "wake"});
    EXPECT_DOUBLE_EQ(*runner.world().desktop().display(1).config.backlight, 0.3f);
    run({"backlight 1 0.9", "advance 0.4"});
    EXPECT_NEAR(percent(1), 90, 1e-5);
}

TEST_F(ScenarioRunnerTest, ABadLineChangesNothing) {
    for (std::string_view line : {"add ddc D current=5 bogus=1", "unplug 1", "start extra"})
        EXPECT_THROW(runner.runLine(line), ScenarioError) << line;

    // Had the bad `add` left a display behind, the panel would not be display 1 at 50.
    run({"add builtin Panel", "start"});
    for (std::string_view line : {"slide 1 x", "slide 1 50 60", "minus 1 2", "preset peak now",
                                  "set limit on off", "backlight 1 0.2 0.3"})
        EXPECT_THROW(runner.runLine(line), ScenarioError) << line;
    EXPECT_DOUBLE_EQ(percent(1), 50);
    EXPECT_FALSE(runner.world().model()->limitOnBattery());
}

}  // namespace
}  // namespace corvane::scenario
