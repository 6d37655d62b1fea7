#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Geometry.h"

namespace corvane::sim {

// The DDC/CI side of a simulated external monitor: its brightness now and at most.
struct SimDDCConfig {
    std::uint16_t current = 50;
    std::uint16_t maximum = 100;
};

// Everything a simulated display is made of. The factories give each kind the system tells
// apart; tests adjust single fields from there.
struct SimDisplayConfig {
    std::string name = "Display";
    bool builtin = false;
    bool main = false;
    std::uint32_t vendor = 0;
    std::uint32_t model = 0;
    std::uint32_t serial = 0;
    // The platform UUID; none means the platform has none for this display.
    std::optional<std::string> uuid;
    bool hasScreen = true;
    bool screenHasNumber = true;
    Size size{1920, 1080};
    double scale = 1;
    double currentHeadroom = 1;
    double potentialHeadroom = 1;
    // The backlight as the panel reports it (normally 0...1); none when there is none.
    std::optional<double> backlight;
    // The gamma table's length; none when the display has no gamma table.
    std::optional<std::size_t> gammaLength = 256;
    std::optional<SimDDCConfig> ddc;

    static SimDisplayConfig builtinPanel(std::string name = "Built-in Retina Display",
                                       double backlight = 0.5);
    // A built-in panel that can show extended range: potential headroom 16, current 2.
    static SimDisplayConfig boostPanel(std::string name = "Built-in Liquid Retina XDR Display",
                                     double backlight = 0.5);
    static SimDisplayConfig ddcMonitor(std::string name, SimDDCConfig ddc = {});
    static SimDisplayConfig gammaOnlyMonitor(std::string name, std::size_t gammaLength = 256);
    static SimDisplayConfig uncontrolledMonitor(std::string name);
};

}  // namespace corvane::sim
