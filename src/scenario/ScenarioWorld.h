#pragma once

#include <memory>

#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::scenario {

// The simulated desktop a scenario drives, the indicator, and the model once started.
class ScenarioWorld {
public:
    ScenarioWorld();

    sim::SimDesktop& desktop() { return desktop_; }
    BrightnessHUD& hud() { return *hud_; }
    // None before start().
    AppModel* model() { return model_.get(); }

    // Makes the model from the preferences stored so far and starts it. Once only.
    void start();
    // Runs everything the last command set off: the posted main-loop tasks, and every DDC
    // write queued so far, so that each command has finished before the next one runs.
    void settle();
    // Seconds of virtual time since the scenario began.
    double seconds();

private:
    sim::SimDesktop desktop_;
    std::shared_ptr<BrightnessHUD> hud_;
    std::shared_ptr<AppModel> model_;
};

}  // namespace corvane::scenario
