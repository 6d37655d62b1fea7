#include "app/SimulatedOnScreen.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/DesktopCoordinates.h"
#include "ui/Theme.h"

namespace corvane::app {
namespace {

constexpr Qt::WindowFlags kMarkerFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
    Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint | Qt::NoDropShadowWindowHint;
// Ring width at no boost and per unit of boost factor above 1.
constexpr double kThinnestRing = 2;
constexpr double kRingPerBoost = 4;
constexpr double kWidestRing = 12;

class MappedPanel final : public IndicatorPanel {
  public:
    MappedPanel(std::unique_ptr<IndicatorPanel> real, VirtualScreenPlacement placement)
        : real_(std::move(real)), placement_(std::move(placement)) {}

    void setContent(const BrightnessHUDView& view) override { real_->setContent(view); }
    void setFrame(const Rect& frame) override { real_->setFrame(placement_().mapPanel(frame)); }
    void orderFront() override { real_->orderFront(); }
    void orderOut() override { real_->orderOut(); }

  private:
    std::unique_ptr<IndicatorPanel> real_;
    VirtualScreenPlacement placement_;
};

// The ring around a boosted virtual screen's place. Only the ring is part of the window, so
// it works with a compositor or without one.
class BoostRing final : public QWidget {
  public:
    BoostRing() : QWidget(nullptr, kMarkerFlags) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    void showFactor(double factor) {
        width_ =
            std::clamp(kThinnestRing + (factor - 1) * kRingPerBoost, kThinnestRing, kWidestRing);
        cutToRing();
    }

  protected:
    void resizeEvent(QResizeEvent*) override { cutToRing(); }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ui::theme::amber());
    }

  private:
    void cutToRing() {
        const int inset = static_cast<int>(std::ceil(width_));
        setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(inset, inset, -inset, -inset))));
        update();
    }

    double width_ = kThinnestRing;
};

class MarkedOverlay final : public OverlayWindow {
  public:
    MarkedOverlay(std::unique_ptr<OverlayWindow> simulated, VirtualScreenPlacement placement)
        : simulated_(std::move(simulated)), placement_(std::move(placement)) {
        place();
    }

    Rect frame() const override { return simulated_->frame(); }
    void setFrame(const Rect& frame) override {
        simulated_->setFrame(frame);
        place();
    }
    PixelSize drawableSize() const override { return simulated_->drawableSize(); }
    void setDrawableSize(const PixelSize& size) override { simulated_->setDrawableSize(size); }
    void setAlpha(double alpha) override {
        simulated_->setAlpha(alpha);
        ring_.setVisible(alpha > 0 && boosting_);
    }
    bool present(double factor) override {
        const bool presented = simulated_->present(factor);
        boosting_ = factor > 1;
        ring_.showFactor(factor);
        ring_.setVisible(boosting_);
        return presented;
    }
    void orderOut() override {
        simulated_->orderOut();
        boosting_ = false;
        ring_.hide();
    }

  private:
    void place() {
        ring_.setGeometry(ui::desktop::toQt(placement_().mapRect(simulated_->frame())).toRect());
    }

    std::unique_ptr<OverlayWindow> simulated_;
    VirtualScreenPlacement placement_;
    BoostRing ring_;
    bool boosting_ = false;
};

}  // namespace

OnScreenIndicatorPanels::OnScreenIndicatorPanels(IndicatorPanels& real,
                                                 VirtualScreenPlacement placement)
    : real_(real), placement_(std::move(placement)) {}

std::unique_ptr<IndicatorPanel> OnScreenIndicatorPanels::make(const Size& size) {
    return std::make_unique<MappedPanel>(real_.make(size), placement_);
}

OnScreenOverlayWindows::OnScreenOverlayWindows(OverlayWindows& simulated,
                                               VirtualScreenPlacement placement)
    : simulated_(simulated), placement_(std::move(placement)) {}

std::unique_ptr<OverlayWindow> OnScreenOverlayWindows::build(const Screen& screen,
                                                             double contentsScale,
                                                             const PixelSize& drawableSize) {
    auto simulated = simulated_.build(screen, contentsScale, drawableSize);
    if (!simulated) return nullptr;
    return std::make_unique<MarkedOverlay>(std::move(simulated), placement_);
}

}  // namespace corvane::app
