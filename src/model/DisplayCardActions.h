#pragma once

#include "model/AppModel.h"
#include "model/DisplaySnapshot.h"

namespace corvane {

// The level a slider `width` points wide stands for at `x` points from its leading edge:
// x / width × 100, limited to 0...100. A track without a usable width, or an `x` that is not a
// number, gives 0.
double sliderValue(double x, double width);

// What a display card does to the model: the minus and plus buttons, and the slider's moves
// and release. The card holds the snapshot it was built from, as last published; it is built
// again from each new publication. Main thread only; the model outlives the card.
class DisplayCardActions {
public:
    static constexpr double kStep = 6.25;

    DisplayCardActions(AppModel& model, DisplaySnapshot display)
        : model_(model), display_(std::move(display)) {}

    const DisplaySnapshot& display() const { return display_; }

    // One step down or up from the session's live level, left unclamped for the model; does
    // nothing when the display has no session any more.
    void minus() { step(-kStep); }
    void plus() { step(kStep); }
    // Every move of the slider to `value`: applied and published, no indicator.
    void slide(double value);
    // The end of a drag: re-applies this card's level and shows the indicator.
    void release();

private:
    void step(double delta);

    AppModel& model_;
    DisplaySnapshot display_;
};

}  // namespace corvane
