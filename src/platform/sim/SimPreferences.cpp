#include "platform/sim/SimPreferences.h"

namespace corvane::sim {

std::optional<PropertyValue> SimPreferences::object(std::string_view key) const {
    if (const PropertyValue* value = find(values_, key)) return *value;
    return std::nullopt;
}

void SimPreferences::set(std::string_view key, PropertyValue value) {
    values_.insert_or_assign(std::string(key), std::move(value));
}

void SimPreferences::remove(std::string_view key) {
    auto it = values_.find(key);
    if (it != values_.end()) values_.erase(it);
}

}  // namespace corvane::sim
