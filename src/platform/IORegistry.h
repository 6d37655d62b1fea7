#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/PrivateDisplayFunctions.h"
#include "platform/PropertyValue.h"

namespace corvane {

// A walk over registry entries. next() yields 0 when it is exhausted.
class RegistryIterator {
public:
    virtual ~RegistryIterator() = default;
    virtual RegistryEntryID next() = 0;
};

// The platform's device registry.
class IORegistry {
public:
    virtual ~IORegistry() = default;

    // A recursive walk of `plane` from the root entry; nullptr when none can be made.
    virtual std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view plane) = 0;
    // The entry's class name as raw bytes, as the registry reports it (it may hold a zero
    // byte or invalid UTF-8).
    virtual std::string className(RegistryEntryID entry) = 0;
    virtual std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) = 0;
};

}  // namespace corvane
