#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/DisplayIdentities.h"
#include "platform/linux/DrmDisplayCatalog.h"
#include "platform/linux/x11/X11Connection.h"

namespace corvane::linux_desktop {

// A connected RandR output that shows part of the screen.
struct RandROutput {
    std::string name;                               // "eDP-1", "HDMI1", "screen" under Xvfb
    unsigned long crtc = 0;                         // the CRTC driving it
    std::optional<std::vector<std::uint8_t>> edid;  // its "EDID" property, when present
    // Its area of the X screen in pixels, origin top-left, y downwards.
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    bool primary = false;
    std::optional<unsigned> connectorId;  // its "CONNECTOR_ID" property (the kernel's ID)
};

// What the X server's RandR extension reports about the screen's outputs at one moment.
struct RandROutputs {
    std::vector<RandROutput> outputs;  // in the server's order

    // The primary output's name; none when no output is primary.
    std::optional<std::string> primaryName() const;
};

// The connected outputs with a CRTC of the connection's default screen; empty when the server
// lacks RandR 1.2.
RandROutputs readRandROutputs(const X11Connection& connection);

// The DRM connectors with the output that shows each (see `pairOutputs`); a connector an
// output shows counts as enabled whatever the kernel says. They are followed by a stand-in
// connector for each output that no connector matches (a display known to X alone). A
// stand-in has no sysfs folder and no DDC bus; its `sysfsName` is "randr-" and the output's
// name, so the display gets a stable ID of its own, its `name` is the output's, and its EDID
// the output's "EDID" property when that is valid.
std::vector<DrmConnector> withRandROutputs(std::vector<DrmConnector> connectors,
                                           const RandROutputs& outputs);

// A main display chooser that picks the display on the primary output, as `primaryName`
// reports it at the time (a RandR output's name, or a connector name without X), and otherwise the first built-in panel, else the first display.
DrmDisplayCatalog::MainDisplayChooser primaryOutputChooser(
    std::function<std::optional<std::string>()> primaryName);

}  // namespace corvane::linux_desktop
