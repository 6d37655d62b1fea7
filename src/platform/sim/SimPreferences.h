#pragma once

#include <string>

#include "platform/PreferencesStore.h"

namespace corvane::sim {

// Preferences held in memory.
class SimPreferences final : public PreferencesStore {
public:
    std::optional<PropertyValue> object(std::string_view key) const override;
    void setBoolean(std::string_view key, bool value) override { set(key, value); }
    void setDouble(std::string_view key, double value) override { set(key, value); }

    // Stores any value, as a user editing the store by hand could.
    void set(std::string_view key, PropertyValue value);
    void remove(std::string_view key);
    const Dictionary& all() const { return values_; }

private:
    Dictionary values_;
};

}  // namespace corvane::sim
