#include "platform/linux/DdcRegistry.h"

#include <vector>

namespace corvane::linux_desktop {
namespace {

constexpr std::string_view kPlane = "IOService";

// The pipe's attributes. A connector without an EDID still gets (empty) product attributes,
// so that the walk does not lend it those of the pipe before.
Dictionary pipeProperties(const DrmConnector& connector) {
    Dictionary product;
    if (const std::optional<Edid>& edid = connector.edid) {
        product.emplace("LegacyManufacturerID", static_cast<std::uint32_t>(edid->vendorCode));
        product.emplace("ProductID", static_cast<std::uint32_t>(edid->product));
        product.emplace("SerialNumber", edid->serial);
        if (!edid->name.empty()) product.emplace("ProductName", edid->name);
    }
    return Dictionary{{"DisplayAttributes", Dictionary{{"ProductAttributes", product}}}};
}

}  // namespace

class DdcRegistry::Iterator final : public RegistryIterator {
  public:
    explicit Iterator(std::vector<RegistryEntryID> ids) : ids_(std::move(ids)) {}
    RegistryEntryID next() override { return position_ < ids_.size() ? ids_[position_++] : 0; }

  private:
    std::vector<RegistryEntryID> ids_;
    std::size_t position_ = 0;
};

DdcRegistry::DdcRegistry(std::filesystem::path sysfsRoot, const I2cDevTransport& transport)
    : sysfsRoot_(std::move(sysfsRoot)), transport_(transport) {}

RegistryEntryID DdcRegistry::add(Entry entry) {
    RegistryEntryID id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    entries_.emplace(id, std::move(entry));
    return id;
}

std::unique_ptr<RegistryIterator> DdcRegistry::iterateRecursively(std::string_view plane) {
    if (plane != kPlane) return nullptr;
    entries_.clear();
    std::vector<RegistryEntryID> walk;
    for (const DrmConnector& connector : connectedConnectors(sysfsRoot_)) {
        if (connector.builtin) continue;
        walk.push_back(add(Entry{"AppleCLCD2", pipeProperties(connector), {}}));
        if (connector.ddcBus)
            walk.push_back(add(
                Entry{"DCPAVServiceProxy", Dictionary{{"Location", "External"}}, connector.path}));
    }
    return std::make_unique<Iterator>(std::move(walk));
}

std::string DdcRegistry::className(RegistryEntryID entry) {
    auto it = entries_.find(entry);
    return it == entries_.end() ? std::string() : it->second.className;
}

std::optional<PropertyValue> DdcRegistry::property(RegistryEntryID entry, std::string_view key) {
    auto it = entries_.find(entry);
    if (it == entries_.end()) return std::nullopt;
    const PropertyValue* value = find(it->second.properties, key);
    return value ? std::optional(*value) : std::nullopt;
}

AVServiceHandle DdcRegistry::createAVService(RegistryEntryID entry) const {
    auto it = entries_.find(entry);
    if (it == entries_.end() || it->second.connector.empty()) return nullptr;
    std::optional<DrmConnector> connector = readConnector(it->second.connector);
    if (!connector || connector->builtin) return nullptr;
    return transport_.openDdcBus(*connector);
}

PrivateDisplayFunctions ddcDisplayFunctions(const DdcRegistry& registry,
                                            const I2cDevTransport& transport) {
    PrivateDisplayFunctions functions;
    functions.createAVService = [&registry](RegistryEntryID entry) {
        return registry.createAVService(entry);
    };
    functions.readI2C = [&transport](AVService& service, std::uint32_t chip, std::uint32_t offset,
                                     std::span<std::uint8_t> buffer) {
        return transport.read(service, chip, offset, buffer);
    };
    functions.writeI2C = [&transport](AVService& service, std::uint32_t chip,
                                      std::uint32_t dataAddress,
                                      std::span<const std::uint8_t> buffer) {
        return transport.write(service, chip, dataAddress, buffer);
    };
    return functions;
}

}  // namespace corvane::linux_desktop
