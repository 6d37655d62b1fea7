#pragma once

#include <QPointer>
#include <QWidget>

class QScrollBar;

namespace corvane::ui {

// A slim scroll bar drawn over the edge of a scrolled list: a faint capsule in the label
// colour that shows where the view lies in the list, and that the pointer can drag. It mirrors
// `source` (the list's own, hidden, scroll bar) and hides while there is nothing to scroll.
class OverlayScrollBar final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 5;
    static constexpr int kShortestThumb = 24;

    OverlayScrollBar(QScrollBar& source, QWidget* parent);

    // The thumb's rectangle inside the bar.
    QRectF thumbRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void follow();
    int valueForThumbTop(double top) const;

    QPointer<QScrollBar> source_;
    // Where in the thumb the pointer holds it while dragging; negative when not dragging.
    double grip_ = -1;
};

}  // namespace corvane::ui
