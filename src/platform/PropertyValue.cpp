#include "platform/PropertyValue.h"

#include <cmath>

namespace corvane {

PropertyValue::PropertyValue(Dictionary dictionary)
    : value_(std::make_shared<const Dictionary>(std::move(dictionary))) {}

const Dictionary* PropertyValue::dictionary() const {
    auto* held = std::get_if<std::shared_ptr<const Dictionary>>(&value_);
    return held ? held->get() : nullptr;
}

std::optional<std::uint32_t> PropertyValue::uint32() const {
    const double* value = number();
    if (!value || !std::isfinite(*value)) return std::nullopt;
    double whole = std::trunc(std::fmod(*value, 4294967296.0));
    if (whole < 0) whole += 4294967296.0;
    return static_cast<std::uint32_t>(whole);
}

bool operator==(const PropertyValue& a, const PropertyValue& b) {
    const Dictionary* left = a.dictionary();
    const Dictionary* right = b.dictionary();
    if (left || right) return left && right && *left == *right;
    return a.value_ == b.value_;
}

const PropertyValue* find(const Dictionary& dictionary, std::string_view key) {
    auto it = dictionary.find(key);
    return it == dictionary.end() ? nullptr : &it->second;
}

}  // namespace corvane
