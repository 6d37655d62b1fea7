#include "ui/MiniSwitch.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>

#include "ui/AccessibleViews.h"
#include "ui/Faded.h"
#include "ui/SoftShadow.h"
#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kOffTrackOpacity = 0.16;
constexpr double kKnobInset = 1.5;
constexpr double kKnobShadowOpacity = 0.25;
constexpr double kKnobShadowRadius = 1.5;

}  // namespace

MiniSwitch::MiniSwitch(QWidget* parent) : PlainButton(parent) {
    installAccessibleViews();
    setCheckable(true);
    setFixedSize(kWidth, kHeight);
    connect(this, &QAbstractButton::toggled, this, [this] {
        if (!QAccessible::isActive()) return;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    });
}

void MiniSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown()) painter.setOpacity(kPressedOpacity);
    const QRectF track = QRectF(rect());
    const double radius = track.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(track, radius, radius);
    if (isChecked())
        painter.fillPath(capsule, theme::trackGradient(track));
    else
        painter.fillPath(capsule, faded(theme::primary(), kOffTrackOpacity));

    const double diameter = track.height() - 2 * kKnobInset;
    const double x = isChecked() ? track.right() - kKnobInset - diameter : kKnobInset;
    QPainterPath knob;
    knob.addEllipse(QRectF(x, kKnobInset, diameter, diameter));
    paintSoftShadow(painter, knob, faded(Qt::black, kKnobShadowOpacity), kKnobShadowRadius,
                    {0, 0.5});
    painter.fillPath(knob, Qt::white);
}

}  // namespace corvane::ui
