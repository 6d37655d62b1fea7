#pragma once

#include <string_view>

namespace corvane::preference_keys {

inline constexpr std::string_view kSyncDisplays = "corvane.syncDisplays";
inline constexpr std::string_view kShowMenuPercent = "corvane.showMenuPercent";
inline constexpr std::string_view kShowMenuNits = "corvane.showMenuNits";
inline constexpr std::string_view kLimitOnBattery = "corvane.limitOnBattery";
// Followed by the display's UUID string; holds the display's level on the percent scale.
inline constexpr std::string_view kBrightnessPrefix = "corvane.brightness.";

}  // namespace corvane::preference_keys
