#pragma once

#include "platform/PowerSources.h"

namespace corvane::sim {

// Power sources in memory: an internal battery on battery power or on mains, no battery at
// all, or any list of descriptions a test wants.
class SimPowerSources final : public PowerSources {
public:
    std::optional<std::vector<std::optional<PropertyValue>>> descriptions() const override {
        return descriptions_;
    }

    void setOnBattery(bool onBattery);
    void setNoBattery() { descriptions_ = std::vector<std::optional<PropertyValue>>{}; }
    void setDescriptions(std::optional<std::vector<std::optional<PropertyValue>>> descriptions) {
        descriptions_ = std::move(descriptions);
    }

private:
    std::optional<std::vector<std::optional<PropertyValue>>> descriptions_ =
        std::vector<std::optional<PropertyValue>>{};
};

}  // namespace corvane::sim
