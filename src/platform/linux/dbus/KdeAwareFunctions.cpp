#include "platform/linux/dbus/KdeAwareFunctions.h"

#include <algorithm>
#include <cmath>

namespace corvane::linux_desktop {
namespace {

constexpr std::int32_t kFailure = -1;

}  // namespace

PrivateDisplayFunctions kdeAwareFunctions(PrivateDisplayFunctions inner,
                                          const KdeScreenBrightness& kde,
                                          DisplayPairing pairing) {
    PrivateDisplayFunctions functions = inner;
    auto plasmas = [&kde, pairing](DisplayID id) {
        return pairing.isBuiltin(id) ? kde.internalDisplay()
                                     : kde.externalDisplayNamed(pairing.monitorName(id));
    };
    functions.getBrightness = [plasmas, inner](DisplayID id, float* level) -> std::int32_t {
        if (std::shared_ptr<KdeDisplay> display = plasmas(id)) {
            *level = static_cast<float>(display->brightness()) /
                     static_cast<float>(display->maxBrightness());
            return 0;
        }
        return inner.getBrightness ? inner.getBrightness(id, level) : kFailure;
    };
    functions.setBrightness = [plasmas, inner](DisplayID id, float level) -> std::int32_t {
        if (std::shared_ptr<KdeDisplay> display = plasmas(id)) {
            const float limited = std::clamp(level, 0.0f, 1.0f);
            display->setBrightness(static_cast<int>(
                std::lround(limited * static_cast<float>(display->maxBrightness()))));
            return 0;
        }
        return inner.setBrightness ? inner.setBrightness(id, level) : kFailure;
    };
    functions.createAVService = [&kde, inner](RegistryEntryID entry) -> AVServiceHandle {
        if (kde.drivesMonitors() || !inner.createAVService) return nullptr;
        return inner.createAVService(entry);
    };
    return functions;
}

}  // namespace corvane::linux_desktop
