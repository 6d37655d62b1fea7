#include "display/DynamicAPI.h"

#include <dlfcn.h>

#include <array>

namespace corvane {
namespace {

constexpr std::array kDisplayServicesPaths = {
    "/System/Library/PrivateFrameworks/DisplayServices.framework/DisplayServices",
    "/System/Library/PrivateFrameworks/DisplayServices.framework/Versions/A/DisplayServices",
};
constexpr std::array kCoreDisplayPaths = {
    "/System/Library/Frameworks/CoreDisplay.framework/CoreDisplay",
    "/System/Library/Frameworks/CoreDisplay.framework/Versions/A/CoreDisplay",
};

// Turns a looked-up address into the function pointer type the caller declared.
template <typename Function>
Function lookUp(void* handle, const char* name) {
    return reinterpret_cast<Function>(DynamicAPI::symbol(handle, name));
}

}  // namespace

void* DynamicAPI::load(std::span<const char* const> paths) {
    for (const char* path : paths)
        if (void* handle = dlopen(path, RTLD_LAZY | RTLD_LOCAL)) return handle;
    return nullptr;
}

void* DynamicAPI::symbol(void* handle, const char* name) {
    void* found = handle ? dlsym(handle, name) : nullptr;
    return found ? found : dlsym(RTLD_DEFAULT, name);
}

void* DynamicAPI::displayServices() {
    static void* const handle = load(kDisplayServicesPaths);
    return handle;
}

void* DynamicAPI::coreDisplay() {
    static void* const handle = load(kCoreDisplayPaths);
    return handle;
}

const DisplayServicesAPI& DisplayServicesAPI::shared() {
    static const DisplayServicesAPI api{
        lookUp<GetBrightness>(DynamicAPI::displayServices(), "DisplayServicesGetBrightness"),
        lookUp<SetBrightness>(DynamicAPI::displayServices(), "DisplayServicesSetBrightness"),
    };
    return api;
}

const CoreDisplayAPI& CoreDisplayAPI::shared() {
    static const CoreDisplayAPI api{
        lookUp<InfoDictionary>(DynamicAPI::coreDisplay(),
                               "CoreDisplay_DisplayCreateInfoDictionary"),
    };
    return api;
}

// The I2C functions live beside the backlight ones, or elsewhere in the process.
const AVServiceAPI& AVServiceAPI::shared() {
    static const AVServiceAPI api{
        lookUp<Create>(DynamicAPI::displayServices(), "IOAVServiceCreateWithService"),
        lookUp<Read>(DynamicAPI::displayServices(), "IOAVServiceReadI2C"),
        lookUp<Write>(DynamicAPI::displayServices(), "IOAVServiceWriteI2C"),
    };
    return api;
}

}  // namespace corvane
