#pragma once

#include <string>

#include "ui/PlainButton.h"

namespace corvane::ui {

// A card's round minus or plus button: a bold symbol on a faint 22-point circle, which is
// also the whole hit area.
class StepButton : public PlainButton {
    Q_OBJECT
  public:
    static constexpr int kDiameter = 22;

    StepButton(std::string symbol, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kDiameter, kDiameter}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    std::string symbol_;
};

}  // namespace corvane::ui
