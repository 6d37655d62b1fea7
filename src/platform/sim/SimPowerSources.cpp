#include "platform/sim/SimPowerSources.h"

namespace corvane::sim {

void SimPowerSources::setOnBattery(bool onBattery) {
    descriptions_ = std::vector<std::optional<PropertyValue>>{PropertyValue(Dictionary{
        {"Type", "InternalBattery"},
        {"Power Source State", onBattery ? "Battery Power" : "AC Power"},
        {"Current Capacity", 80},
    })};
}

}  // namespace corvane::sim
