#pragma once

#include <QWidget>
#include <optional>

namespace corvane::ui {

// The card's level slider: a warm gradient fill with a soft glow on a faint track, a white
// knob, and an optional tick where the standard range ends. It shows the value it is given and
// reports drags: `moved` on the press and every move after it, `committed` once on release.
// The widget reaches past the track on the left and right and above and below, so that the
// glow and the knob's shadow are not cut off; the track is `trackRect()`.
class GlowSlider : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kTrackAreaHeight = 18;
    static constexpr int kHorizontalBleed = 8;
    static constexpr int kVerticalBleed = 2;

    explicit GlowSlider(QWidget* parent = nullptr);

    double value() const { return value_; }
    void setValue(double value);
    std::optional<double> marker() const { return marker_; }
    void setMarker(std::optional<double> marker);
    // Forgets a drag in progress without reporting its end.
    void cancelDrag() { dragging_ = false; }

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

  private:
    bool hits(const QPointF& point) const;
    double valueAt(const QPointF& point) const;
    std::optional<QRectF> tickRect() const;

    double value_ = 0;
    std::optional<double> marker_;
    bool dragging_ = false;
};

}  // namespace corvane::ui
