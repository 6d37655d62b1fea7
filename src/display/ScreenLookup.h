#pragma once

#include <optional>

#include "platform/DisplayCatalog.h"
#include "platform/ScreenCatalog.h"

namespace corvane {

// The display's screen: the first screen whose number equals the display ID (a screen without
// a number counts as 0).
std::optional<Screen> screenOf(const ScreenCatalog& screens, DisplayID id);

}  // namespace corvane
