#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The warm colours and gradients of the popover, the cards, the slider and the indicator.
namespace corvane::ui::theme {

QColor gold();
QColor amber();
QColor ember();
QColor dusk();
// gold, amber, ember evenly spaced from the top-leading to the bottom-trailing corner of `rect`.
QLinearGradient sunGradient(const QRectF& rect);
// gold, amber evenly spaced from the leading to the trailing edge of `rect`.
QLinearGradient trackGradient(const QRectF& rect);

// The text colours of the desktop's palette: primary and secondary labels.
QColor primary();
QColor secondary();

// The window colour of the desktop's palette at `opacity`: the stand-in for a blurred material,
// so that primary and secondary text read on it in light and dark palettes alike.
QColor material(double opacity);

// A rounded rectangle whose corners ease into the straight edges (continuous curvature) instead
// of meeting them as circular arcs. Shapes too small for such corners get circular ones.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

// Draws the popover's rounded panel into `rect`: the translucent fill with its faint warm tint
// and the 1-point gradient border, radius 20. Without a compositor the fill is drawn opaque.
void paintPanel(QPainter& painter, const QRectF& rect, bool translucent);

// Draws the card shape of the display cards and the About panel's description box into `rect`:
// radius 14, the primary colour at opacity 0.045, a 1-point inside border of white at 0.06.
void paintCard(QPainter& painter, const QRectF& rect);

}  // namespace corvane::ui::theme
