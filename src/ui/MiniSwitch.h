#pragma once

#include "ui/PlainButton.h"

namespace corvane::ui {

// A small on/off switch. It shows the state it is given and only reports the user's click
// (`clicked`): the owner decides what the switch shows next.
class MiniSwitch : public PlainButton {
    Q_OBJECT
  public:
    static constexpr int kWidth = 26;
    static constexpr int kHeight = 15;

    explicit MiniSwitch(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kWidth, kHeight}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    // A click leaves the shown state alone.
    void nextCheckState() override {}
};

}  // namespace corvane::ui
