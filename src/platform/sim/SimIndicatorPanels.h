#pragma once

#include <memory>
#include <vector>

#include "platform/IndicatorPanel.h"

namespace corvane::sim {

// Everything done to one indicator panel.
struct SimIndicatorPanelRecord {
    Size size;
    std::vector<BrightnessHUDView> contents;
    std::vector<Rect> frames;
    int orderFrontCount = 0;
    int orderOutCount = 0;
    bool onScreen = false;
};

// Indicator panels that record what they are told instead of drawing.
class SimIndicatorPanels final : public IndicatorPanels {
public:
    std::unique_ptr<IndicatorPanel> make(const Size& size) override;

    // Every panel made, in order.
    const std::vector<std::shared_ptr<SimIndicatorPanelRecord>>& records() const {
        return records_;
    }

private:
    class Panel;

    std::vector<std::shared_ptr<SimIndicatorPanelRecord>> records_;
};

}  // namespace corvane::sim
