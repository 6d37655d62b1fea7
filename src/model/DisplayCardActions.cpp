#include "model/DisplayCardActions.h"

#include <cmath>

#include "model/Rounding.h"

namespace corvane {

double sliderValue(double x, double width) {
    if (!(width > 0) || !std::isfinite(width)) return 0;
    // Multiplying first keeps whole-point positions exact: 55 of 100 is 55, not 55.000…01.
    return clampedPercent(x * 100 / width);
}

void DisplayCardActions::step(double delta) {
    auto session = model_.sessions().find(display_.id);
    if (session == model_.sessions().end()) return;
    model_.apply(session->second->percent() + delta, display_.id);
    model_.publish();
    model_.showHUD(display_.id);
}

void DisplayCardActions::slide(double value) {
    model_.apply(value, display_.id);
    model_.publish();
}

void DisplayCardActions::release() {
    model_.apply(display_.percent, display_.id);
    model_.publish();
    model_.showHUD(display_.id);
}

}  // namespace corvane
