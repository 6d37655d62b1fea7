#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DisplayCatalog.h"
#include "platform/linux/DrmConnectors.h"

namespace corvane::linux_desktop {

// A connected display with the identifiers the core knows it by.
struct ConnectedDisplay {
    DisplayID id = 0;
    std::string uuid;
    DrmConnector connector;
};

// Names connected displays.
//
// The display ID is the 32-bit FNV-1a hash of the connector's sysfs name ("card0-DP-2"),
// moved on to the next free value when another connected display holds it (0 is never used).
// A display keeps its ID for as long as it stays connected.
//
// The UUID is the name-based (version 5) UUID of the EDID's valid bytes in this desktop's
// namespace, so a monitor keeps it on any connector and across restarts. When two connected
// displays have identical EDIDs, the connector's name is appended to the bytes hashed so the
// two stay apart. A display whose EDID has a damaged extension keeps the UUID its complete
// EDID was given earlier in the run (its base block tells it), so its stored level still
// applies; the damage is logged once per connector. A display without an EDID is "display-"
// and its decimal ID.
class DisplayIdentities {
  public:
    // The displays for the connectors now connected, in the connectors' order.
    std::vector<ConnectedDisplay> identify(std::vector<DrmConnector> connectors);

  private:
    DisplayID idFor(const std::string& sysfsName) const;
    std::string uuidFor(const ConnectedDisplay& display,
                        const std::vector<ConnectedDisplay>& all);

    std::map<std::string, DisplayID> assigned_;
    // The UUIDs given to complete EDIDs, by base block (its bytes as a string).
    std::map<std::string, std::string> completeUuids_;
    std::set<std::string> damageReported_;  // connectors whose damaged EDID was logged
};

}  // namespace corvane::linux_desktop
