#pragma once

#include <QWidget>
#include <memory>

#include "hud/BrightnessHUDView.h"
#include "platform/IndicatorPanel.h"

namespace corvane::ui {

// The indicator's window: frameless, above other windows, never focused or activated, and
// transparent to the pointer. With a compositor it is translucent outside its rounded panel;
// without one the corners are filled.
class IndicatorPanelWidget final : public QWidget, public IndicatorPanel {
    Q_OBJECT
  public:
    IndicatorPanelWidget(const Size& size, bool composited);

    void setContent(const BrightnessHUDView& view) override;
    void setFrame(const Rect& frame) override;
    void orderFront() override;
    void orderOut() override;

    const BrightnessHUDView& content() const { return content_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BrightnessHUDView content_;
    bool composited_;
};

// Makes the indicator's windows.
class QtIndicatorPanels final : public IndicatorPanels {
  public:
    explicit QtIndicatorPanels(bool composited) : composited_(composited) {}

    std::unique_ptr<IndicatorPanel> make(const Size& size) override;

  private:
    bool composited_;
};

}  // namespace corvane::ui
