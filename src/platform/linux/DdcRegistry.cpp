#include "platform/linux/DdcRegistry.h"

#include <vector>

namespace corvane::linux_desktop {
namespace {

constexpr std::string_view kPlane = "IOService";

Dictionary pipeProperties(const DrmConnector& connector) {
    const Dictionary product{{"ProductName", connector.sysfsName}};
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

DdcRegistry::DdcRegistry(const DrmDisplayCatalog& catalog, DdcBusFinder& buses,
                         const I2cDevTransport& transport)
    : catalog_(catalog), buses_(buses), transport_(transport) {}

RegistryEntryID DdcRegistry::add(Entry entry) {
    RegistryEntryID id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    entries_.emplace(id, std::move(entry));
    return id;
}

std::unique_ptr<RegistryIterator> DdcRegistry::iterateRecursively(std::string_view plane) {
    if (plane != kPlane) return nullptr;
    ++walks_;
    entries_.clear();
    std::vector<DrmConnector> connectors;
    for (const ConnectedDisplay& display : catalog_.displays())
        if (!display.connector.builtin && !display.connector.path.empty())
            connectors.push_back(display.connector);
    const std::vector<std::optional<unsigned>> buses = buses_.busesFor(connectors);
    std::vector<RegistryEntryID> walk;
    for (std::size_t i = 0; i < connectors.size(); ++i) {
        walk.push_back(add(Entry{"AppleCLCD2", pipeProperties(connectors[i]), {}, 0}));
        if (buses[i])
            walk.push_back(add(Entry{"DCPAVServiceProxy", Dictionary{{"Location", "External"}},
                                     connectors[i].path, *buses[i]}));
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
    if (!readConnector(it->second.connector)) return nullptr;
    return transport_.ddcService(it->second.bus, walks_ == 1
                                                     ? I2cDevTransport::Arrival::atStart
                                                     : I2cDevTransport::Arrival::hotPlugged);
}

PrivateDisplayFunctions ddcDisplayFunctions(const DrmDisplayCatalog& catalog,
                                            const DdcRegistry& registry,
                                            const I2cDevTransport& transport) {
    PrivateDisplayFunctions functions;
    functions.infoDictionary = [&catalog](DisplayID id) -> std::optional<Dictionary> {
        const ConnectedDisplay* display = catalog.display(id);
        if (!display) return std::nullopt;
        return Dictionary{
            {"DisplayProductName", Dictionary{{"connector", display->connector.sysfsName}}}};
    };
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
