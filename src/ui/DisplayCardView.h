#pragma once

#include <QPixmap>
#include <QWidget>

#include "model/AppModel.h"
#include "model/DisplaySnapshot.h"

namespace corvane::ui {

class CardTitleRow;
class GlowSlider;
class StepButton;

// The card of one display: its name, how it is driven, its level in percent (and in nits on
// XDR displays), minus and plus buttons and the level slider. It shows the snapshot it was
// last given and sends every control straight to the model. The model outlives the card.
class DisplayCardView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPadding = 12;

    DisplayCardView(AppModel& model, const DisplaySnapshot& display, QWidget* parent = nullptr);

    DisplayID displayId() const { return display_.id; }
    const DisplaySnapshot& display() const { return display_; }
    // Shows a newer snapshot of the same display. A drag in progress carries on.
    void setDisplay(const DisplaySnapshot& display);
    // The display has left: the card ends any drag without committing it, stops sending
    // anything to the model and hides, ready to be deleted.
    void retire();
    bool isRetired() const { return retired_; }

    GlowSlider& slider() { return *slider_; }
    StepButton& minusButton() { return *minus_; }
    StepButton& plusButton() { return *plus_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap background() const;
    void showDisplay();
    void step(bool up);
    void slide(double value);
    void commit();

    AppModel& model_;
    DisplaySnapshot display_;
    bool retired_ = false;
    CardTitleRow* title_;
    StepButton* minus_;
    GlowSlider* slider_;
    StepButton* plus_;
};

}  // namespace corvane::ui
