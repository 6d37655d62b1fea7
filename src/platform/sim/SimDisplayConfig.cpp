#include "platform/sim/SimDisplayConfig.h"

namespace corvane::sim {

SimDisplayConfig SimDisplayConfig::builtinPanel(std::string name, double backlight) {
    SimDisplayConfig config;
    config.name = std::move(name);
    config.builtin = true;
    config.vendor = 0x610;
    config.model = 0xA050;
    config.size = {1512, 982};
    config.scale = 2;
    config.backlight = backlight;
    return config;
}

SimDisplayConfig SimDisplayConfig::boostPanel(std::string name, double backlight) {
    SimDisplayConfig config = builtinPanel(std::move(name), backlight);
    config.model = 0xA044;
    config.currentHeadroom = 2;
    config.potentialHeadroom = 16;
    return config;
}

SimDisplayConfig SimDisplayConfig::ddcMonitor(std::string name, SimDDCConfig ddc) {
    SimDisplayConfig config;
    config.name = std::move(name);
    config.vendor = 0x10AC;
    config.model = 0x2009;
    config.serial = 0x4C4B4D31;
    config.ddc = ddc;
    return config;
}

SimDisplayConfig SimDisplayConfig::gammaOnlyMonitor(std::string name, std::size_t gammaLength) {
    SimDisplayConfig config;
    config.name = std::move(name);
    config.vendor = 0x4C2D;
    config.model = 0x0E0F;
    config.gammaLength = gammaLength;
    return config;
}

SimDisplayConfig SimDisplayConfig::uncontrolledMonitor(std::string name) {
    SimDisplayConfig config;
    config.name = std::move(name);
    config.vendor = 0x05E3;
    config.model = 0x2460;
    config.gammaLength.reset();
    return config;
}

}  // namespace corvane::sim
