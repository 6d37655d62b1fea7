#pragma once

#include <string>
#include <string_view>

namespace corvane::linux_desktop {

// Whether a DRM connector name and a RandR output name name the same connector. X drivers
// spell connectors their own way: "eDP1" or "eDP-1" for the kernel's "eDP-1", "HDMI-1" or
// "HDMI1" for "HDMI-A-1"; the connector may also carry its card ("card0-eDP-1"). Letters are
// compared without regard to case, numbers by value, and dashes are ignored.
bool sameOutputName(std::string_view connector, std::string_view output);

// The name in a comparable form: lower-case words and numbers joined by "-", without a card
// prefix and with "hdmi-a" as "hdmi" ("card0-HDMI-A-1" → "hdmi-1", "eDP1" → "edp-1").
std::string canonicalOutputName(std::string_view name);

}  // namespace corvane::linux_desktop
