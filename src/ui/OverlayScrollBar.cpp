#include "ui/OverlayScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "ui/Faded.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kThumbOpacity = 0.35;
constexpr double kDraggedThumbOpacity = 0.55;

}  // namespace

OverlayScrollBar::OverlayScrollBar(QScrollBar& source, QWidget* parent)
    : QWidget(parent), source_(&source) {
    setFixedWidth(kWidth);
    setCursor(Qt::ArrowCursor);
    connect(&source, &QScrollBar::rangeChanged, this, &OverlayScrollBar::follow);
    connect(&source, &QScrollBar::valueChanged, this, &OverlayScrollBar::follow);
    follow();
}

void OverlayScrollBar::follow() {
    setVisible(source_ && source_->maximum() > source_->minimum());
    update();
}

QRectF OverlayScrollBar::thumbRect() const {
    if (!source_) return {};
    const double range = source_->maximum() - source_->minimum();
    const double total = range + source_->pageStep();
    const double track = height();
    const double length =
        total > 0 ? std::clamp(track * source_->pageStep() / total, double(kShortestThumb), track)
                  : track;
    const double travel = track - length;
    const double progress = range > 0 ? (source_->value() - source_->minimum()) / range : 0;
    return {0, travel * progress, double(width()), length};
}

int OverlayScrollBar::valueForThumbTop(double top) const {
    const double travel = height() - thumbRect().height();
    const double progress = travel > 0 ? std::clamp(top / travel, 0.0, 1.0) : 0;
    return source_->minimum() +
           static_cast<int>(std::lround(progress * (source_->maximum() - source_->minimum())));
}

void OverlayScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF thumb = thumbRect();
    const double radius = thumb.width() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(faded(theme::primary(), grip_ >= 0 ? kDraggedThumbOpacity : kThumbOpacity));
    painter.drawRoundedRect(thumb, radius, radius);
}

// A press on the thumb grips it where it lands; a press beside it centres the thumb there.
void OverlayScrollBar::mousePressEvent(QMouseEvent* event) {
    if (!source_ || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QRectF thumb = thumbRect();
    const double y = event->position().y();
    grip_ = thumb.contains(QPointF(thumb.center().x(), y)) ? y - thumb.top() : thumb.height() / 2;
    source_->setValue(valueForThumbTop(y - grip_));
    update();
}

void OverlayScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!source_ || grip_ < 0) return;
    source_->setValue(valueForThumbTop(event->position().y() - grip_));
}

void OverlayScrollBar::mouseReleaseEvent(QMouseEvent*) {
    grip_ = -1;
    update();
}

}  // namespace corvane::ui
