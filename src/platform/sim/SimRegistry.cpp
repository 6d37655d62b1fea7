#include "platform/sim/SimRegistry.h"

#include <algorithm>

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
    for (const Entry& entry : entries_) ids.push_back(entry.id);
    return std::make_unique<Iterator>(std::move(ids));
}

std::string SimRegistry::className(RegistryEntryID id) {
    for (const Entry& entry : entries_)
        if (entry.id == id) return entry.className;
    return {};
}

std::optional<PropertyValue> SimRegistry::property(RegistryEntryID id, std::string_view key) {
    for (const Entry& entry : entries_)
        if (entry.id == id)
            if (const PropertyValue* value = find(entry.properties, key)) return *value;
    return std::nullopt;
}

RegistryEntryID SimRegistry::add(std::string className, Dictionary properties) {
    RegistryEntryID id = nextId_++;
    entries_.push_back(Entry{id, std::move(className), std::move(properties)});
    return id;
}

void SimRegistry::attach(RegistryEntryID entry, std::shared_ptr<SimDDCMonitor> monitor) {
    monitors_[entry] = std::move(monitor);
}

void SimRegistry::remove(RegistryEntryID id) {
    std::erase_if(entries_, [id](const Entry& entry) { return entry.id == id; });
    monitors_.erase(id);
}

AVServiceHandle SimRegistry::createAVService(RegistryEntryID entry) const {
    auto it = monitors_.find(entry);
    if (it == monitors_.end()) return nullptr;
    ++created_;
    return std::make_shared<SimAVService>(it->second);
}

}  // namespace corvane::sim
