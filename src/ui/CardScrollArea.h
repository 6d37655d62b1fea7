#pragma once

#include <QScrollArea>

namespace corvane::ui {

class OverlayScrollBar;

// The popover's list of display cards when it is taller than the screen allows: it scrolls
// under the wheel and the touchpad (and with the bar), shows only a slim overlay bar at its
// trailing edge, and lets the popover's panel show through.
class CardScrollArea final : public QScrollArea {
    Q_OBJECT
  public:
    // Room kept above and below a control scrolled into view for the keyboard: its focus ring.
    static constexpr int kFocusMargin = 6;

    explicit CardScrollArea(QWidget* list, QWidget* parent = nullptr);

    OverlayScrollBar& overlayBar() { return *bar_; }
    // Whether part of the list lies out of view.
    bool scrolls() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeBar();

    OverlayScrollBar* bar_;
};

}  // namespace corvane::ui
