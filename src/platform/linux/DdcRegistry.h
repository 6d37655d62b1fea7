#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/IORegistry.h"
#include "platform/linux/I2cDevTransport.h"

namespace corvane::linux_desktop {

// The device registry as the DDC/CI discovery walks it: for each connected external
// connector, in name order, an "AppleCLCD2" display pipe whose product attributes come from
// the connector's EDID, followed, when the connector has a DDC bus, by an external
// "DCPAVServiceProxy" whose AV service is that bus. Every walk reads the connectors again
// and numbers its entries afresh; entries of earlier walks are gone. Main thread only.
class DdcRegistry final : public IORegistry {
  public:
    DdcRegistry(std::filesystem::path sysfsRoot, const I2cDevTransport& transport);

    std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view plane) override;
    std::string className(RegistryEntryID entry) override;
    std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) override;

    // Opens the DDC bus of a proxy entry's connector as it is now; null for any other entry,
    // or when the connector is gone or its bus cannot be opened.
    AVServiceHandle createAVService(RegistryEntryID entry) const;

  private:
    struct Entry {
        std::string className;
        Dictionary properties;
        std::filesystem::path connector;  // a proxy's connector folder; empty for a pipe
    };
    class Iterator;

    RegistryEntryID add(Entry entry);

    std::filesystem::path sysfsRoot_;
    const I2cDevTransport& transport_;
    std::map<RegistryEntryID, Entry> entries_;
    RegistryEntryID nextId_ = 1;
};

// The private display functions over the registry's AV services: createAVService, readI2C
// and writeI2C. Both objects outlive the functions.
PrivateDisplayFunctions ddcDisplayFunctions(const DdcRegistry& registry,
                                            const I2cDevTransport& transport);

}  // namespace corvane::linux_desktop
