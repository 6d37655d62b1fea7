#include "ui/GlowSlider.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "model/DisplayCardActions.h"
#include "ui/AccessibleViews.h"
#include "ui/Faded.h"
#include "ui/Localization.h"
#include "ui/SliderGeometry.h"
#include "ui/SoftShadow.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

namespace geometry = slider_geometry;

constexpr double kGlowRadius = 6;
constexpr double kGlowOpacity = 0.35;
constexpr double kTrackOpacity = 0.10;
constexpr double kTickOpacity = 0.55;
constexpr double kKnobRimOpacity = 0.45;
constexpr double kKnobShadowOpacity = 0.22;
constexpr double kKnobShadowRadius = 2;
constexpr QPointF kKnobShadowOffset{0, 1};
// One notch of a mouse wheel, in its angle units, moves the level by one page step.
constexpr double kWheelNotch = 120;

QPainterPath capsule(const QRectF& rect) {
    QPainterPath path;
    const double radius = std::min(rect.width(), rect.height()) / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

}  // namespace

GlowSlider::GlowSlider(QWidget* parent) : QWidget(parent) {
    installAccessibleViews();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
}

void GlowSlider::moveTo(double value) {
    emit moved(std::clamp(value, 0.0, 100.0));
    emit committed();
}

void GlowSlider::setValue(double value) {
    if (value == value_) return;
    value_ = value;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent change(this, value_);
        QAccessible::updateAccessibility(&change);
    }
}

void GlowSlider::setMarker(std::optional<double> marker) {
    if (marker == marker_) return;
    marker_ = marker;
    update();
}

QRectF GlowSlider::trackRect() const {
    return QRectF(rect()).adjusted(kHorizontalBleed, kVerticalBleed, -kHorizontalBleed,
                                   -kVerticalBleed);
}

QSize GlowSlider::sizeHint() const {
    return {120 + 2 * kHorizontalBleed, kTrackAreaHeight + 2 * kVerticalBleed};
}

QSize GlowSlider::minimumSizeHint() const {
    return {static_cast<int>(geometry::kKnobDiameter) + 2 * kHorizontalBleed,
            kTrackAreaHeight + 2 * kVerticalBleed};
}

void GlowSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = trackRect();
    const double width = track.width();
    const double centreY = track.center().y();
    auto band = [&](double x, double w, double h) {
        return QRectF(track.left() + x, centreY - h / 2, w, h);
    };

    painter.fillPath(capsule(band(0, width, geometry::kTrackHeight)),
                     faded(theme::primary(), kTrackOpacity));

    const QRectF fill = band(0, geometry::fillWidth(value_, width), geometry::kTrackHeight);
    paintSoftCapsuleShadow(painter, fill, faded(theme::amber(), kGlowOpacity), kGlowRadius);
    painter.fillPath(capsule(fill), theme::trackGradient(fill));

    if (auto tick = tickRect()) painter.fillPath(capsule(*tick), faded(Qt::white, kTickOpacity));

    const double knobSize = geometry::kKnobDiameter;
    const QRectF knob = band(geometry::knobOffset(value_, width), knobSize, knobSize);
    QPainterPath knobPath;
    knobPath.addEllipse(knob);
    paintSoftShadow(painter, knobPath, faded(Qt::black, kKnobShadowOpacity), kKnobShadowRadius,
                    kKnobShadowOffset);
    painter.fillPath(knobPath, Qt::white);
    painter.setPen(QPen(faded(theme::gold(), kKnobRimOpacity), 1));
    painter.drawEllipse(knob.adjusted(0.5, 0.5, -0.5, -0.5));
}

std::optional<QRectF> GlowSlider::tickRect() const {
    const QRectF track = trackRect();
    auto centre = geometry::tickCentre(marker_, track.width());
    if (!centre) return std::nullopt;
    return QRectF(track.left() + *centre - geometry::kTickWidth / 2,
                  track.center().y() - geometry::kTickHeight / 2, geometry::kTickWidth,
                  geometry::kTickHeight);
}

bool GlowSlider::hits(const QPointF& point) const {
    return capsule(trackRect()).contains(point);
}

double GlowSlider::valueAt(const QPointF& point) const {
    const QRectF track = trackRect();
    return sliderValue(point.x() - track.left(), track.width());
}

void GlowSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !hits(event->position())) {
        event->ignore();
        return;
    }
    dragging_ = true;
    emit moved(valueAt(event->position()));
}

void GlowSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    emit moved(valueAt(event->position()));
}

void GlowSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    emit committed();
}

void GlowSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            return moveTo(value_ - kFineStep);
        case Qt::Key_Right:
        case Qt::Key_Up:
            return moveTo(value_ + kFineStep);
        case Qt::Key_PageDown:
            return moveTo(value_ - kPageStep);
        case Qt::Key_PageUp:
            return moveTo(value_ + kPageStep);
        case Qt::Key_Home:
            return moveTo(0);
        case Qt::Key_End:
            return moveTo(100);
        default:
            QWidget::keyPressEvent(event);
    }
}

// Whether the slider sits in a list that the wheel scrolls now.
bool GlowSlider::inScrollingList() const {
    for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up))
            return area->verticalScrollBar()->maximum() > area->verticalScrollBar()->minimum();
    }
    return false;
}

// Up (away from the user) raises the level; a touchpad's small steps move it proportionally.
// In a list that scrolls, the wheel scrolls the list unless the slider has the focus, so that
// scrolling past a card does not change its level.
void GlowSlider::wheelEvent(QWheelEvent* event) {
    if (!hasFocus() && inScrollingList()) return event->ignore();
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : -angle.x();
    if (delta == 0) return event->ignore();
    const double step = delta / kWheelNotch * kPageStep;
    moveTo(value_ + (event->inverted() ? -step : step));
}

bool GlowSlider::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    auto tick = tickRect();
    // The tick is thin; give its tooltip a few points of slack on either side.
    if (tick && tick->adjusted(-3, 0, 3, 0).contains(help->pos())) {
        QToolTip::showText(help->globalPos(), localized("SDR"), this);
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

}  // namespace corvane::ui
