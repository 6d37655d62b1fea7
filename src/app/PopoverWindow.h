#pragma once

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

namespace corvane::app {

// The window around the popover's panel. Beside a tray item it is a borderless popup that
// shows only the panel: transparent around its rounded corners, with a soft shadow drawn in a
// margin of its own where the desktop composites, cut to the rounded shape where it does not.
// It cannot be moved and closes when the user clicks elsewhere or presses Escape. Without a
// tray it is a small ordinary window instead, which the user can close and move.
class PopoverWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Style { popover, window };

    static constexpr double kCornerRadius = 20;
    // Room for the shadow on every side of the panel, when there is a shadow.
    static constexpr int kShadowMargin = 18;
    // How far the panel keeps from the screen's edges.
    static constexpr int kScreenMargin = 4;

    PopoverWindow(QWidget* content, Style style, bool composited);

    // Sets the window's type and properties. Safe to run again at any time: a second run
    // changes nothing.
    void apply();

    Style style() const { return style_; }
    // Turns the window into the other style (a tray came or went); hidden or not.
    void setStyle(Style style);
    bool composited() const { return composited_; }
    // The panel's rectangle inside the window.
    QRect panelRect() const;

    // Shows the popover beside `anchor` (global coordinates: the tray item, or the pointer).
    void showBeside(const QRect& anchor);
    // Shows it beside `anchor`, or closes it when it is open or has just closed: the click
    // that closed it by landing outside is often the same click on the tray item.
    void toggleBeside(const QRect& anchor);
    // Sizes the window to its content's size hint.
    void fitContent();

  signals:
    // The tallest the panel may be where the popover is about to open: the content should
    // keep within it (it is told before it is sized and placed).
    void panelHeightLimitChanged(int height);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Qt::WindowFlags wantedFlags() const;
    void limitPanelHeight(const QRect& anchor, const QRect& screen, const QRect& available);
    bool translucent() const;
    int margin() const;
    void updateMask();
    const QPixmap& shadow();

    QWidget* content_;
    Style style_;
    bool composited_;
    QPixmap shadow_;
    QElapsedTimer sinceHidden_;
};

}  // namespace corvane::app
