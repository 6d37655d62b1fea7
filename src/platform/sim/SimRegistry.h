#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/IORegistry.h"
#include "platform/sim/SimDDCMonitor.h"

namespace corvane::sim {

// The AV service of a simulated external monitor: the monitor's DDC/CI side.
class SimAVService final : public AVService {
public:
    explicit SimAVService(std::shared_ptr<SimDDCMonitor> monitor) : monitor(std::move(monitor)) {}
    std::shared_ptr<SimDDCMonitor> monitor;
};

// A device registry laid out entry by entry; the walk visits them in order of addition (their
// IDs rise), and every look-up by ID is a map search.
class SimRegistry final : public IORegistry {
public:
    std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view plane) override;
    std::string className(RegistryEntryID entry) override;
    std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) override;

    // Appends an entry to the walk and returns its ID.
    RegistryEntryID add(std::string className, Dictionary properties = {});
    // Makes the AV service created from `entry` talk to `monitor`.
    void attach(RegistryEntryID entry, std::shared_ptr<SimDDCMonitor> monitor);
    void remove(RegistryEntryID entry);
    // The AV service for an entry, or none when nothing is attached to it.
    AVServiceHandle createAVService(RegistryEntryID entry) const;

    void setIteratorFails(bool fails) { iteratorFails_ = fails; }
    // How many AV services have been created so far.
    std::size_t createdServices() const { return created_; }

private:
    struct Entry {
        std::string className;
        Dictionary properties;
    };
    class Iterator;

    std::map<RegistryEntryID, Entry> entries_;
    std::map<RegistryEntryID, std::shared_ptr<SimDDCMonitor>> monitors_;
    RegistryEntryID nextId_ = 0x1001;
    bool iteratorFails_ = false;
    mutable std::size_t created_ = 0;
};

}  // namespace corvane::sim
