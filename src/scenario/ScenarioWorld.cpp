#include "scenario/ScenarioWorld.h"

#include "scenario/ScenarioError.h"

namespace corvane::scenario {

ScenarioWorld::ScenarioWorld()
    : hud_(BrightnessHUD::create(desktop_.loop(), desktop_.platform().screens,
                                 desktop_.indicatorPanels())) {}

void ScenarioWorld::start() {
    if (model_) throw ScenarioError("the model is already started");
    model_ = AppModel::make(desktop_.platform(), *hud_);
    model_->start();
}

void ScenarioWorld::settle() {
    desktop_.loop().runPending();
    if (!model_) return;
    for (const auto& [id, session] : model_->sessions())
        if (session->ddc()) session->ddc()->waitUntilIdle();
    desktop_.loop().runPending();
}

double ScenarioWorld::seconds() {
    return std::chrono::duration<double>(desktop_.loop().now().time_since_epoch()).count();
}

}  // namespace corvane::scenario
