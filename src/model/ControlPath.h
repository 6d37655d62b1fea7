#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// How a display's brightness is driven.
enum class ControlPath { hardware, ddc, software, unavailable };

std::string_view rawValue(ControlPath path);
// The case whose raw value is exactly `raw` (case-sensitive), or none.
std::optional<ControlPath> controlPathFromRawValue(std::string_view raw);

}  // namespace corvane

template <>
struct std::hash<corvane::ControlPath> {
    std::size_t operator()(corvane::ControlPath path) const noexcept {
        return std::hash<std::string_view>{}(corvane::rawValue(path));
    }
};
