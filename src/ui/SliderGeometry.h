#pragma once

#include <optional>

namespace corvane::ui::slider_geometry {

inline constexpr double kTrackHeight = 8;
inline constexpr double kMinimumFillWidth = 10;
inline constexpr double kKnobDiameter = 16;
inline constexpr double kTickWidth = 2;
inline constexpr double kTickHeight = 12;
// The tick is left out this close to either end, where the knob and the caps would hide it.
inline constexpr double kTickLowest = 4;
inline constexpr double kTickHighest = 96;

// Where the level `value` ends on a track `width` wide: 0 at or below 0, full width from 100.
double levelWidth(double value, double width);
// The width of the drawn fill: the level's, but never narrower than a rounded stub.
double fillWidth(double value, double width);
// The knob's leading edge: centred on the level's end, never past either end of the track.
double knobOffset(double value, double width);
// The centre of the standard-range tick, when it is drawn.
std::optional<double> tickCentre(std::optional<double> marker, double width);

}  // namespace corvane::ui::slider_geometry
