#include "platform/sim/SimOverlayWindows.h"

namespace corvane::sim {

class SimOverlayWindows::Window final : public OverlayWindow {
public:
    Window(std::shared_ptr<SimOverlayRecord> record, const bool& drawableAvailable)
        : record_(std::move(record)), drawableAvailable_(drawableAvailable) {}

    Rect frame() const override { return record_->frame; }
    void setFrame(const Rect& frame) override { record_->frame = frame; }
    PixelSize drawableSize() const override { return record_->drawableSize; }
    void setDrawableSize(const PixelSize& size) override { record_->drawableSize = size; }
    void setAlpha(double alpha) override { record_->alpha = alpha; }
    bool present(double factor) override {
        if (!drawableAvailable_ || !record_->onScreen) return false;
        record_->presentedFactors.push_back(factor);
        return true;
    }
    void orderOut() override { record_->onScreen = false; }

private:
    std::shared_ptr<SimOverlayRecord> record_;
    const bool& drawableAvailable_;
};

bool SimOverlayWindows::makeCommandQueue() {
    ++queueRequests_;
    return hasDevice_ && canMakeQueue_;
}

std::unique_ptr<OverlayWindow> SimOverlayWindows::build(const Screen& screen,
                                                        double contentsScale,
                                                        const PixelSize& drawableSize) {
    auto record = std::make_shared<SimOverlayRecord>();
    record->screen = screen;
    record->frame = screen.frame;
    record->contentsScale = contentsScale;
    record->drawableSize = drawableSize;
    records_.push_back(record);
    return std::make_unique<Window>(record, drawableAvailable_);
}

const SimOverlayRecord* SimOverlayWindows::shownOver(std::uint32_t screenNumber) const {
    for (const auto& record : records_)
        if (record->onScreen && record->screen.number.value_or(0) == screenNumber)
            return record.get();
    return nullptr;
}

}  // namespace corvane::sim
