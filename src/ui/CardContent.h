#pragma once

#include <optional>

#include "model/DisplaySnapshot.h"
#include "ui/TextKey.h"

namespace corvane::ui {

// The line under a card's display name: the live luminance of an XDR display, else how the
// display's brightness is driven.
TextKey cardStatusLine(const DisplaySnapshot& display);
// The big figure: the level rounded to a whole percent, halves away from zero.
TextKey cardPercentText(const DisplaySnapshot& display);
// The luminance under the figure; only for XDR displays that report one.
std::optional<TextKey> cardNitsLine(const DisplaySnapshot& display);
// Where the slider marks the end of the standard range; only for XDR displays.
std::optional<double> cardSliderMarker(const DisplaySnapshot& display);

}  // namespace corvane::ui
