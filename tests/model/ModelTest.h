#pragma once

#include <array>
#include <string>

#include "support/ModelFixture.h"

namespace corvane::testing {

// The model fixture with the set-up and readings that the model tests share.
class ModelTest : public ModelFixture {
protected:
    // Adds the displays in this order, starts the model and gives their identifiers.
    template <typename... Configs>
    std::array<DisplayID, sizeof...(Configs)> startWith(Configs... configs) {
        std::array<DisplayID, sizeof...(Configs)> ids{desktop.add(std::move(configs))...};
        startModel();
        return ids;
    }
    void unplug(DisplayID id) {
        desktop.unplug(id);
        model->refresh();
    }
    void plug(DisplayID id) {
        desktop.plug(id);
        model->refresh();
    }
    void poll() { desktop.loop().advance(AppModel::kPollInterval); }
    // The battery limit switched on and the computer on battery, before the model starts.
    void limitOnBattery() {
        desktop.preferences().set("corvane.limitOnBattery", true);
        desktop.power().setOnBattery(true);
    }
    // The level stored for a display the platform knows no UUID for.
    std::optional<PropertyValue> storedLevel(DisplayID id) {
        return stored("corvane.brightness.display-" + std::to_string(id));
    }
    bool hasSession(DisplayID id) { return model->sessions().contains(id); }
    // What the indicator showed last.
    BrightnessHUDView shown() {
        if (!indicator() || indicator()->contents.empty()) {
            ADD_FAILURE() << "the indicator has shown nothing";
            return {};
        }
        return indicator()->contents.back();
    }
};

}  // namespace corvane::testing
