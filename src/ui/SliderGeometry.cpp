#include "ui/SliderGeometry.h"

#include <algorithm>

namespace corvane::ui::slider_geometry {

double levelWidth(double value, double width) {
    const double fraction = value > 0 ? std::min(value, 100.0) / 100 : 0;
    return width * fraction;
}

double fillWidth(double value, double width) {
    return std::max(levelWidth(value, width), kMinimumFillWidth);
}

double knobOffset(double value, double width) {
    const double halfKnob = kKnobDiameter / 2;
    return std::min(std::max(levelWidth(value, width) - halfKnob, 0.0), width - kKnobDiameter);
}

std::optional<double> tickCentre(std::optional<double> marker, double width) {
    if (!marker || !(*marker > kTickLowest && *marker < kTickHighest)) return std::nullopt;
    return width * *marker / 100;
}

}  // namespace corvane::ui::slider_geometry
