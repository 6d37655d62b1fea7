#include "platform/sim/SimRegistry.h"

namespace corvane::sim {

class SimRegistry::Iterator final : public RegistryIterator {
public:
    explicit Iterator(std::vector<RegistryEntryID> ids) : ids_(std::move(ids)) {}
    RegistryEntryID next() override { return position_ < ids_.size() ? ids_[position_++] : 0; }

private:
    std::vector<RegistryEntryID> ids_;
    std::size_t position_ = 0;
};

std::unique_ptr<RegistryIterator> SimRegistry::iterateRecursively(std::string_view plane) {
    if (iteratorFails_ || plane != "IOService") return nullptr;
    std::vector<RegistryEntryID> ids;
    ids.reserve(entries_.size());
    for (const auto& [id, entry] : entries_) ids.push_back(id);
    return std::make_unique<Iterator>(std::move(ids));
}

std::string SimRegistry::className(RegistryEntryID id) {
    auto it = entries_.find(id);
    return it == entries_.end() ? std::string() : it->second.className;
}

std::optional<PropertyValue> SimRegistry::property(RegistryEntryID id, std::string_view key) {
    auto it = entries_.find(id);
    if (it == entries_.end()) return std::nullopt;
    if (const PropertyValue* value = find(it->second.properties, key)) return *value;
    return std::nullopt;
}

RegistryEntryID SimRegistry::add(std::string className, Dictionary properties) {
    RegistryEntryID id = nextId_++;
    entries_.emplace(id, Entry{std::move(className), std::move(properties)});
    return id;
}

void SimRegistry::attach(RegistryEntryID entry, std::shared_ptr<SimDDCMonitor> monitor) {
    monitors_[entry] = std::move(monitor);
}

void SimRegistry::remove(RegistryEntryID id) {
    entries_.erase(id);
    monitors_.erase(id);
}

AVServiceHandle SimRegistry::createAVService(RegistryEntryID entry) const {
    auto it = monitors_.find(entry);
    if (it == monitors_.end()) return nullptr;
    ++created_;
    return std::make_shared<SimAVService>(it->second);
}

}  // namespace corvane::sim
