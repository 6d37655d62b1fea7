#pragma once

#include <QWidget>
#include <optional>

namespace corvane::ui {

// The card's level slider: a warm gradient fill with a soft glow on a faint track, a white
// knob, and an optional tick where the standard range ends. It shows the value it is given and
// reports drags: `moved` on the press and every move after it, `committed` once on release.
// The keyboard (arrows by 1, Page Up and Down by the key step, Home and End to the ends) and
// the wheel move it the same way: `moved` to the new value, then `committed`. In a scrolling
// list the wheel moves it only while it has the focus.
// The widget reaches past the track on the left and right and above and below, so that the
// glow and the knob's shadow are not cut off; the track is `trackRect()`.
class GlowSlider : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTrackAreaHeight = 18;
    static constexpr int kHorizontalBleed = 8;
    static constexpr int kVerticalBleed = 2;
    static constexpr double kFineStep = 1;
    static constexpr double kPageStep = 6.25;

    explicit GlowSlider(QWidget* parent = nullptr);

    double value() const { return value_; }
    void setValue(double value);
    std::optional<double> marker() const { return marker_; }
    void setMarker(std::optional<double> marker);
    // Forgets a drag in progress without reporting its end.
    void cancelDrag() { dragging_ = false; }
    // Moves to `value` (limited to 0...100) as a click there would: `moved`, then `committed`.
    void moveTo(double value);

    // The level as text, for assistive tools.
    const QString& valueText() const { return valueText_; }
    void setValueText(const QString& text) { valueText_ = text; }

    // The slider proper, in widget coordinates: the full width between the bleeds, 18 high.
    QRectF trackRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void moved(double value);
    void committed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool hits(const QPointF& point) const;
    bool inScrollingList() const;
    double valueAt(const QPointF& point) const;
    std::optional<QRectF> tickRect() const;

    double value_ = 0;
    std::optional<double> marker_;
    bool dragging_ = false;
    QString valueText_;
};

}  // namespace corvane::ui
