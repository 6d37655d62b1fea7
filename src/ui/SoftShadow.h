#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace corvane::ui {

// Paints the blurred silhouette of `shape` in `color`, moved by `offset`: a drop shadow or a
// glow. `radius` is the blur's reach as the look of the views gives it (a Gaussian of half
// that deviation).
void paintSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color,
                     double radius, QPointF offset = {});

// The same for a horizontal capsule (fully rounded ends) of any length: drawn from the blur of a
// short one, stretched in the middle, so that a growing fill costs no new blur.
void paintSoftCapsuleShadow(QPainter& painter, const QRectF& capsule, const QColor& color,
                            double radius);

}  // namespace corvane::ui
