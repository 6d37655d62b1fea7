#pragma once

#include <optional>
#include <string_view>

#include "platform/PropertyValue.h"

namespace corvane {

// The user's persistent preferences: a typed key-value store.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    // The stored value, or none when nothing is stored under the key.
    virtual std::optional<PropertyValue> object(std::string_view key) const = 0;
    virtual void setBoolean(std::string_view key, bool value) = 0;
    virtual void setDouble(std::string_view key, double value) = 0;

    // The stored value read as a boolean: absent is false, a number is true when it is not
    // zero, a text is true when it starts with Y, y, T, t or a digit 1 to 9 after blanks.
    bool boolean(std::string_view key) const;
};

}  // namespace corvane
