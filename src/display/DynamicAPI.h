#pragma once

#include <cstdint>
#include <span>

namespace corvane {

// The host's backlight entry points. Each pointer is null when the process cannot find it.
struct DisplayServicesAPI {
    using GetBrightness = std::int32_t (*)(std::uint32_t display, float* level);
    using SetBrightness = std::int32_t (*)(std::uint32_t display, float level);

    GetBrightness getBrightness = nullptr;
    SetBrightness setBrightness = nullptr;

    // Resolved on first use, once per process.
    static const DisplayServicesAPI& shared();
};

// The host's display information entry point. The dictionary it returns is an opaque,
// retained object of the host's dictionary library.
struct CoreDisplayAPI {
    using InfoDictionary = void* (*)(std::uint32_t display);

    InfoDictionary infoDictionary = nullptr;

    static const CoreDisplayAPI& shared();
};

// The host's I2C entry points for an external monitor's AV service.
struct AVServiceAPI {
    using Create = void* (*)(void* allocator, std::uint32_t registryEntry);
    using Read = std::int32_t (*)(void* service, std::uint32_t chip, std::uint32_t offset,
                                  void* buffer, std::uint32_t length);
    using Write = std::int32_t (*)(void* service, std::uint32_t chip, std::uint32_t dataAddress,
                                   void* buffer, std::uint32_t length);

    Create create = nullptr;
    Read read = nullptr;
    Write write = nullptr;

    static const AVServiceAPI& shared();
};

// Opens the host's private display frameworks by path and looks their symbols up by name.
// Everything is resolved once, thread-safely, and stays as found for the life of the process.
namespace DynamicAPI {

// The first of `paths` that opens (lazily, locally), or null.
void* load(std::span<const char* const> paths);
// `name` in `handle`, else anywhere in the process; null when absent. `handle` may be null.
void* symbol(void* handle, const char* name);

// The process-wide framework handles; null where the framework is absent.
void* displayServices();
void* coreDisplay();

}  // namespace DynamicAPI

}  // namespace corvane
