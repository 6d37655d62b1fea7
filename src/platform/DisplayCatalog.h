#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The platform's unsigned 32-bit display identifier.
using DisplayID = std::uint32_t;

// The windowing system's list of online displays and what it knows of each.
class DisplayCatalog {
public:
    virtual ~DisplayCatalog() = default;

    // Online displays in the platform's stable order, at most `capacity` of them.
    virtual std::vector<DisplayID> onlineDisplays(std::size_t capacity) const = 0;
    virtual bool isBuiltin(DisplayID id) const = 0;
    virtual DisplayID mainDisplay() const = 0;
    virtual std::uint32_t vendorNumber(DisplayID id) const = 0;
    virtual std::uint32_t modelNumber(DisplayID id) const = 0;
    virtual std::uint32_t serialNumber(DisplayID id) const = 0;
    // The display's persistent UUID in the platform's string form, when it has one.
    virtual std::optional<std::string> uuid(DisplayID id) const = 0;
};

}  // namespace corvane
