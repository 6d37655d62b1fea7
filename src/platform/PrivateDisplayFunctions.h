#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "platform/DisplayCatalog.h"
#include "platform/PropertyValue.h"

namespace corvane {

// An external monitor's I2C channel. The platform decides what it holds (an open bus, a
// simulated peer); the system only passes it on. Shared and reference-counted.
class AVService {
public:
    virtual ~AVService() = default;
};
using AVServiceHandle = std::shared_ptr<AVService>;

// An entry of the platform's device registry.
using RegistryEntryID = std::uint32_t;

// Entry points that not every platform has. Each is optional: an empty function is absent,
// and each caller takes its own fallback. Status 0 is success.
struct PrivateDisplayFunctions {
    std::function<std::int32_t(DisplayID, float* level)> getBrightness;
    std::function<std::int32_t(DisplayID, float level)> setBrightness;
    std::function<std::optional<Dictionary>(DisplayID)> infoDictionary;
    std::function<AVServiceHandle(RegistryEntryID)> createAVService;
    std::function<std::int32_t(AVService&, std::uint32_t chip, std::uint32_t offset,
                               std::span<std::uint8_t> buffer)>
        readI2C;
    std::function<std::int32_t(AVService&, std::uint32_t chip, std::uint32_t dataAddress,
                               std::span<const std::uint8_t> buffer)>
        writeI2C;
};

}  // namespace corvane
