#pragma once

#include <iosfwd>
#include <string_view>

#include "model/DisplayCardActions.h"
#include "scenario/Arguments.h"
#include "scenario/ScenarioWorld.h"

namespace corvane::scenario {

// Carries out scenario lines, one at a time, on a fresh simulated desktop; `dump` writes to
// `out`. Each line runs to completion, DDC writes included, before the next one.
class ScenarioRunner {
public:
    explicit ScenarioRunner(std::ostream& out) : out_(out) {}

    // Runs one line; blank lines and comments do nothing. Throws ScenarioError for an unknown
    // command or a bad argument, before the command has changed anything.
    void runLine(std::string_view line);
    ScenarioWorld& world() { return world_; }

private:
    using Handler = void (ScenarioRunner::*)(Arguments&);
    struct Command {
        std::string_view name;
        Handler handler;
    };
    static const Command* find(std::string_view name);

    void add(Arguments& arguments);
    void unplug(Arguments& arguments);
    void plug(Arguments& arguments);
    void start(Arguments& arguments);
    void key(Arguments& arguments);
    void slide(Arguments& arguments);
    void minus(Arguments& arguments);
    void plus(Arguments& arguments);
    void preset(Arguments& arguments);
    void set(Arguments& arguments);
    void power(Arguments& arguments);
    void wake(Arguments& arguments);
    void backlight(Arguments& arguments);
    void ddcFail(Arguments& arguments);
    void pref(Arguments& arguments);
    void advance(Arguments& arguments);
    void dump(Arguments& arguments);

    // The ID of a display added so far.
    DisplayID displayArgument(Arguments& arguments);
    AppModel& startedModel();
    // The card the popover shows now for the display.
    DisplayCardActions card(DisplayID id);

    std::ostream& out_;
    ScenarioWorld world_;
};

}  // namespace corvane::scenario
