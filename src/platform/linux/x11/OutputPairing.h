#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/linux/DrmConnectors.h"
#include "platform/linux/x11/RandROutputs.h"

namespace corvane::linux_desktop {

// For each connector, the position of the RandR output that shows it, or none. Each output
// shows at most one connector. The rules, strongest first, each among the pairs still open:
// the output's CONNECTOR_ID property equals the connector's "connector_id"; the EDID base
// blocks are equal; the names name the same connector. Names come last because X drivers
// number their own way (NVIDIA's "DP-0" is not the kernel's "DP-0"), and the first two rules
// pair only where the value is unique on both sides, so identical monitors fall through to
// their names.
std::vector<std::optional<std::size_t>> pairOutputs(const std::vector<DrmConnector>& connectors,
                                                    const std::vector<RandROutput>& outputs);

}  // namespace corvane::linux_desktop
