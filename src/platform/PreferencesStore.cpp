#include "platform/PreferencesStore.h"

namespace corvane {
namespace {

bool textIsTrue(const std::string& text) {
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    return false;
}

}  // namespace

bool PreferencesStore::boolean(std::string_view key) const {
    std::optional<PropertyValue> value = object(key);
    if (!value) return false;
    if (const bool* flag = value->boolean()) return *flag;
    if (const double* number = value->number()) return *number != 0;
    if (const std::string* text = value->string()) return textIsTrue(*text);
    return false;
}

}  // namespace corvane
