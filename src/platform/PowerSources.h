#pragma once

#include <optional>
#include <vector>

#include "platform/PropertyValue.h"

namespace corvane {

// The computer's power sources.
class PowerSources {
public:
    virtual ~PowerSources() = default;

    // One description per power source, in the platform's order ("Type", "Power Source
    // State", …); an entry is none when the source has no description. None when the platform
    // cannot list its power sources.
    virtual std::optional<std::vector<std::optional<PropertyValue>>> descriptions() const = 0;
};

}  // namespace corvane
