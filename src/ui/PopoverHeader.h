#pragma once

#include <optional>

#include "ui/PlainButton.h"
#include "ui/TextKey.h"

class QLabel;

namespace corvane::ui {

// The popover's title row, one plain button: room for the sun logo, the product title and a
// subtitle. Assistive tools know it by the product title. The logo is not a child: its glow spills
// past this row, so the popover places it over `logoSlot()`.
class PopoverHeader : public PlainButton {
    Q_OBJECT
  public:
    static constexpr int kLogoDiameter = 36;

    explicit PopoverHeader(QWidget* parent = nullptr);

    // The live subtitle (a key with a figure) is set bolder and in the primary colour.
    void setSubtitle(const TextKey& subtitle);
    // Whether a press does something: only then does the header explain it in a tooltip and
    // take the focus from the keyboard.
    void setCycles(bool cycles);
    bool cycles() const { return cycles_; }
    QWidget& logoSlot() { return *logoSlot_; }

  protected:
    void paintEvent(QPaintEvent*) override {}
    void changeEvent(QEvent* event) override;

  private:
    void showSubtitleStyle();

    QWidget* logoSlot_;
    QLabel* subtitle_;
    std::optional<TextKey> shownSubtitle_;
    bool cycles_ = true;
};

}  // namespace corvane::ui
