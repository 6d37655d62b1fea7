#include "model/ControlPath.h"

#include <array>

namespace corvane {
namespace {

constexpr std::array<std::pair<ControlPath, std::string_view>, 4> kRawValues{{
    {ControlPath::hardware, "hardware"},
    {ControlPath::ddc, "ddc"},
    {ControlPath::software, "software"},
    {ControlPath::unavailable, "unavailable"},
}};

}  // namespace

std::string_view rawValue(ControlPath path) {
    for (const auto& [candidate, raw] : kRawValues)
        if (candidate == path) return raw;
    return "unavailable";
}

std::optional<ControlPath> controlPathFromRawValue(std::string_view raw) {
    for (const auto& [path, candidate] : kRawValues)
        if (candidate == raw) return path;
    return std::nullopt;
}

}  // namespace corvane
