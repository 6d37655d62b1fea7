#include "platform/sim/SimIndicatorPanels.h"

namespace corvane::sim {

class SimIndicatorPanels::Panel final : public IndicatorPanel {
public:
    explicit Panel(std::shared_ptr<SimIndicatorPanelRecord> record) : record_(std::move(record)) {}

    void setContent(const BrightnessHUDView& view) override { record_->contents.push_back(view); }
    void setFrame(const Rect& frame) override { record_->frames.push_back(frame); }
    void orderFront() override {
        ++record_->orderFrontCount;
        record_->onScreen = true;
    }
    void orderOut() override {
        ++record_->orderOutCount;
        record_->onScreen = false;
    }

private:
    std::shared_ptr<SimIndicatorPanelRecord> record_;
};

std::unique_ptr<IndicatorPanel> SimIndicatorPanels::make(const Size& size) {
    auto record = std::make_shared<SimIndicatorPanelRecord>();
    record->size = size;
    records_.push_back(record);
    return std::make_unique<Panel>(record);
}

}  // namespace corvane::sim
