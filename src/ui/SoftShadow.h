#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

namespace corvane::ui {

// Paints the blurred silhouette of `shape` in `color`, moved by `offset`: a drop shadow or a
// glow. `radius` is the blur's reach as the look of the views gives it (a Gaussian of half
// that deviation).
void paintSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color,
                     double radius, QPointF offset = {});

}  // namespace corvane::ui
