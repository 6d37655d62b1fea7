#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/PropertyValue.h"

namespace corvane {

// A display-connect service: the registry's handle on a panel whose parameters can be read
// and set. 0 is never a service.
using DisplayConnectID = std::uint32_t;

class DisplayConnectServices {
public:
    virtual ~DisplayConnectServices() = default;

    // Every display-connect service in iteration order; none when matching fails.
    virtual std::optional<std::vector<DisplayConnectID>> matchingServices() = 0;
    // The service's information dictionary ("DisplayVendorID", "DisplayProductID",
    // "DisplaySerialNumber", "DisplayIsBuiltin"); none when it cannot be made.
    virtual std::optional<Dictionary> infoDictionary(DisplayConnectID service) = 0;
    virtual std::int32_t getFloatParameter(DisplayConnectID service, std::string_view name,
                                           float* value) = 0;
    virtual std::int32_t setFloatParameter(DisplayConnectID service, std::string_view name,
                                           float value) = 0;
};

}  // namespace corvane
