#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace corvane {

class PropertyValue;

// A dictionary with string keys, as the platform hands out registry properties, display
// information and stored preferences.
using Dictionary = std::map<std::string, PropertyValue, std::less<>>;

// A typed value from the platform. "Other" stands for any value the system does not read
// (arrays, data, dictionaries whose keys are not strings), so that "absent", "present but of
// the wrong type" and "present" can be told apart.
class PropertyValue {
public:
    struct Other {
        friend bool operator==(const Other&, const Other&) = default;
    };

    PropertyValue() : value_(Other{}) {}
    PropertyValue(Other) : value_(Other{}) {}
    PropertyValue(double number) : value_(number) {}
    PropertyValue(int number) : value_(static_cast<double>(number)) {}
    PropertyValue(std::uint32_t number) : value_(static_cast<double>(number)) {}
    PropertyValue(bool flag) : value_(flag) {}
    PropertyValue(std::string text) : value_(std::move(text)) {}
    PropertyValue(const char* text) : value_(std::string(text)) {}
    PropertyValue(Dictionary dictionary);

    bool isOther() const { return std::holds_alternative<Other>(value_); }
    const double* number() const { return std::get_if<double>(&value_); }
    const bool* boolean() const { return std::get_if<bool>(&value_); }
    const std::string* string() const { return std::get_if<std::string>(&value_); }
    const Dictionary* dictionary() const;

    // The value as an unsigned 32-bit number: present only for a finite number, whose integer
    // part wraps to 32 bits as the platform's number conversion does.
    std::optional<std::uint32_t> uint32() const;

    friend bool operator==(const PropertyValue& a, const PropertyValue& b);

private:
    std::variant<Other, double, bool, std::string, std::shared_ptr<const Dictionary>> value_;
};

// Looks a key up; nullptr when the dictionary has no such entry.
const PropertyValue* find(const Dictionary& dictionary, std::string_view key);

}  // namespace corvane
