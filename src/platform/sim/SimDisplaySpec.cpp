#include "platform/sim/SimDisplaySpec.h"

namespace corvane::sim {

SimDisplaySpec SimDisplaySpec::builtinPanel(std::string name, double backlight) {
    SimDisplaySpec spec;
    spec.name = std::move(name);
    spec.builtin = true;
    spec.vendor = 0x610;
    spec.model = 0xA050;
    spec.size = {1512, 982};
    spec.scale = 2;
    spec.backlight = backlight;
    return spec;
}

SimDisplaySpec SimDisplaySpec::boostPanel(std::string name, double backlight) {
    SimDisplaySpec spec = builtinPanel(std::move(name), backlight);
    spec.model = 0xA044;
    spec.currentHeadroom = 2;
    spec.potentialHeadroom = 16;
    return spec;
}

SimDisplaySpec SimDisplaySpec::ddcMonitor(std::string name, SimDDCSpec ddc) {
    SimDisplaySpec spec;
    spec.name = std::move(name);
    spec.vendor = 0x10AC;
    spec.model = 0x2009;
    spec.serial = 0x4C4B4D31;
    spec.ddc = ddc;
    return spec;
}

SimDisplaySpec SimDisplaySpec::gammaOnlyMonitor(std::string name, std::size_t gammaLength) {
    SimDisplaySpec spec;
    spec.name = std::move(name);
    spec.vendor = 0x4C2D;
    spec.model = 0x0E0F;
    spec.gammaLength = gammaLength;
    return spec;
}

SimDisplaySpec SimDisplaySpec::uncontrolledMonitor(std::string name) {
    SimDisplaySpec spec;
    spec.name = std::move(name);
    spec.vendor = 0x05E3;
    spec.model = 0x2460;
    spec.gammaLength.reset();
    return spec;
}

}  // namespace corvane::sim
