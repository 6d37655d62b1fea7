#include <cmath>

#include "model/AppModel.h"

namespace corvane {
namespace {

constexpr std::string_view kBatteryType = "InternalBattery";
constexpr std::string_view kBatteryState = "Battery Power";

bool isString(const Dictionary& description, std::string_view key, std::string_view expected) {
    const PropertyValue* value = find(description, key);
    return value && value->string() && *value->string() == expected;
}

}  // namespace

// The internal battery is the first source whose "Type" says so; the computer runs on it when
// its state is "Battery Power". Anything unknown counts as mains power.
bool AppModel::onBattery(const PowerSources& power) {
    auto descriptions = power.descriptions();
    if (!descriptions) return false;
    for (const std::optional<PropertyValue>& description : *descriptions) {
        const Dictionary* fields = description ? description->dictionary() : nullptr;
        if (!fields) continue;
        const PropertyValue* type = find(*fields, "Type");
        if (!type || !type->string()) continue;
        if (*type->string() == kBatteryType) return isString(*fields, "Power Source State", kBatteryState);
    }
    return false;
}

void AppModel::tick() {
    bool battery = onBattery(platform_.power);
    if (battery != lastOnBattery_) {
        lastOnBattery_ = battery;
        applyPowerPolicy();
    }
    if (holdUntil_ >= platform_.loop.now()) {
        publish();
        return;
    }
    for (const auto& [id, session] : sessions_) adoptBacklight(*session);
    publish();
}

// Takes a built-in panel's actual backlight level as its new level when something else moved
// it by more than the drift threshold. Boost displays and other paths are never adopted.
void AppModel::adoptBacklight(DisplaySession& session) {
    if (session.supportsXDR() || session.path() != ControlPath::hardware) return;
    std::optional<double> reading = session.backlightReading();
    if (!reading) return;
    double level = *reading * 100;
    if (std::abs(level - session.percent()) <= kDriftThreshold) return;
    session.apply(level, true, false);
    intendedPercents_[session.id()] = level;
}

void AppModel::applyPowerPolicy() {
    lastOnBattery_ = onBattery(platform_.power);
    reapplyIntended();
    publish();
}

}  // namespace corvane
