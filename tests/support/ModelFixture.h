#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::testing {

// A model on a simulated desktop, with helpers to read what the hardware shows.
class ModelFixture : public ::testing::Test {
protected:
    // Monitor readings and writes still under way use the desktop: they end before it goes.
    ~ModelFixture() override {
        desktop.loop().runPending();
        if (!model) return;
        for (const auto& [id, session] : model->sessions())
            if (session->ddc()) session->ddc()->waitUntilIdle();
    }

    std::shared_ptr<AppModel>& makeModel() {
        hud = BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                    desktop.indicatorPanels());
        model = AppModel::make(desktop.platform(), *hud);
        return model;
    }
    // Starts the model and lets the monitors' first readings arrive.
    std::shared_ptr<AppModel>& startModel() {
        makeModel()->start();
        desktop.loop().runPending();
        return model;
    }
    DisplaySession& session(DisplayID id) { return *model->sessions().at(id); }
    double percent(DisplayID id) { return model->sessions().at(id)->percent(); }
    double intended(DisplayID id) { return model->intendedPercents().at(id); }
    double backlight(DisplayID id) { return *desktop.display(id).config.backlight; }
    void pressKey(int keyCode, std::uint64_t modifiers = 0) {
        desktop.events().deliver(sim::auxButtonEvent(keyCode, sim::KeyState::pressed, modifiers));
        desktop.events().deliver(sim::auxButtonEvent(keyCode, sim::KeyState::released, modifiers));
    }
    const sim::SimIndicatorPanelRecord* indicator() {
        auto& records = desktop.indicatorPanels().records();
        return records.empty() ? nullptr : records.front().get();
    }
    std::optional<PropertyValue> stored(std::string_view key) {
        return desktop.preferences().object(key);
    }

    sim::SimDesktop desktop;
    std::shared_ptr<BrightnessHUD> hud;
    std::shared_ptr<AppModel> model;
};

}  // namespace corvane::testing
