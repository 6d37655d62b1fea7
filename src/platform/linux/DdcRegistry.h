#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/IORegistry.h"
#include "platform/linux/DdcBusFinder.h"
#include "platform/linux/DrmDisplayCatalog.h"
#include "platform/linux/I2cDevTransport.h"

namespace corvane::linux_desktop {

// The device registry as the DDC/CI discovery walks it: for each external display of the
// catalog's last reading that sits on a DRM connector, in the catalog's order, an "AppleCLCD2"
// display pipe, followed, when the connector's DDC bus is known, by an external
// "DCPAVServiceProxy" whose AV service is that bus.
//
// On Linux the connector → bus relation is exact, so the pipe's only product attribute is the
// connector's sysfs name as "ProductName", and the display's info dictionary (see
// `ddcDisplayFunctions`) names the same connector: a display agrees with its own connector's
// proxy and with no other, so two identical monitors can never swap buses. Every walk numbers
// its entries afresh; entries of earlier walks are gone. Main thread only.
class DdcRegistry final : public IORegistry {
  public:
    DdcRegistry(const DrmDisplayCatalog& catalog, DdcBusFinder& buses,
                const I2cDevTransport& transport);

    std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view plane) override;
    std::string className(RegistryEntryID entry) override;
    std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) override;

    // The DDC/CI channel of a proxy entry's connector, while that connector is connected;
    // null for any other entry. Buses met after the first walk count as hot-plugged.
    AVServiceHandle createAVService(RegistryEntryID entry) const;

  private:
    struct Entry {
        std::string className;
        Dictionary properties;
        std::filesystem::path connector;  // a proxy's connector folder; empty for a pipe
        unsigned bus = 0;                 // a proxy's DDC bus
    };
    class Iterator;

    RegistryEntryID add(Entry entry);

    const DrmDisplayCatalog& catalog_;
    DdcBusFinder& buses_;
    const I2cDevTransport& transport_;
    std::map<RegistryEntryID, Entry> entries_;
    RegistryEntryID nextId_ = 1;
    unsigned walks_ = 0;
};

// The private display functions over the registry's AV services: createAVService, readI2C and
// writeI2C, and the info dictionaries whose "DisplayProductName" names each display's
// connector. The objects outlive the functions.
PrivateDisplayFunctions ddcDisplayFunctions(const DrmDisplayCatalog& catalog,
                                            const DdcRegistry& registry,
                                            const I2cDevTransport& transport);

}  // namespace corvane::linux_desktop
