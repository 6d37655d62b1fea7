#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/DrmConnectors.h"
#include "platform/linux/I2cDevTransport.h"

namespace corvane::linux_desktop {

// Finds each external connector's DDC bus. The connector's own folder names it on most
// drivers (see `ownDdcBus`); NVIDIA's driver, Intel's DisplayPort on older kernels and
// DisplayPort MST name none. For those the EDIDs of the display controllers' adapters (read
// at 0x50, read only) are compared with the connector's: the bus holding the same base block,
// when exactly one does, is the connector's. Adapters are read again only when the set of
// connectors waiting for a bus changes. Main thread only.
class DdcBusFinder {
  public:
    DdcBusFinder(std::filesystem::path sysfsRoot, const I2cDevTransport& transport);

    // The bus of each connector, in the connectors' order.
    std::vector<std::optional<unsigned>> busesFor(const std::vector<DrmConnector>& connectors);

  private:
    using Block = std::vector<std::uint8_t>;

    void probe(const std::set<unsigned>& owned);
    std::optional<unsigned> busWithEdid(const Block& base) const;
    void reportMissing(const DrmConnector& connector);

    std::filesystem::path sysfsRoot_;
    const I2cDevTransport& transport_;
    std::map<unsigned, Block> probed_;  // bus → EDID base block found there
    // The connectors (name and EDID base block) the last probe was for.
    std::vector<std::pair<std::string, Block>> waiting_;
    std::set<std::string> reported_;  // connectors already logged without a bus
};

}  // namespace corvane::linux_desktop
