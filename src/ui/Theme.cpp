#include "ui/Theme.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace corvane::ui::theme {
namespace {

// How far a continuous corner reaches along each edge, and where it crosses the diagonal, in
// units of the corner radius. The crossing lies close to a circular arc's; the longer reach
// lets the curvature grow from zero at the edge instead of jumping.
constexpr double kCornerReach = 1.528;
constexpr double kCornerDiagonal = 0.2915;
constexpr double kCornerHandle = 1.0;

constexpr double kPanelRadius = 20;
constexpr double kCardRadius = 14;
// Opaque enough for text to stay legible over a busy desktop without a blur behind it.
constexpr double kPanelOpacity = 0.9;

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

QColor white(double opacity) {
    return withOpacity(Qt::white, opacity);
}

QColor systemOrange() {
    return QColor::fromRgbF(1.0f, 0.584f, 0.0f);
}

// One corner as two cubic curves, from the end of one edge to the start of the next. `corner`
// is the rectangle's corner, `along` points from it along the incoming edge, `across` along the
// outgoing one; both have the length of the radius.
void addContinuousCorner(QPainterPath& path, QPointF corner, QPointF along, QPointF across) {
    const auto at = [&](double a, double b) { return corner + along * a + across * b; };
    const double d = kCornerDiagonal;
    path.cubicTo(at(kCornerHandle, 0), at(2 * d, 0), at(d, d));
    path.cubicTo(at(0, 2 * d), at(0, kCornerHandle), at(0, kCornerReach));
}

QLinearGradient evenlySpaced(QPointF start, QPointF end, std::initializer_list<QColor> colors) {
    QLinearGradient gradient(start, end);
    const auto last = static_cast<double>(colors.size() - 1);
    int index = 0;
    for (const QColor& color : colors) gradient.setColorAt(index++ / last, color);
    return gradient;
}

// Strokes a 1-point border just inside the edge of the rounded `rect`.
void strokeInside(QPainter& painter, const QRectF& rect, double radius, const QBrush& brush) {
    const QRectF inset = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(brush, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(inset, radius - 0.5));
}

}  // namespace

QColor gold() {
    return QColor::fromRgbF(0.99f, 0.78f, 0.28f);
}
QColor amber() {
    return QColor::fromRgbF(1.0f, 0.52f, 0.16f);
}
QColor ember() {
    return QColor::fromRgbF(0.92f, 0.32f, 0.12f);
}
QColor dusk() {
    return QColor::fromRgbF(0.09f, 0.07f, 0.06f);
}

QLinearGradient sunGradient(const QRectF& rect) {
    return evenlySpaced(rect.topLeft(), rect.bottomRight(), {gold(), amber(), ember()});
}

QLinearGradient trackGradient(const QRectF& rect) {
    const double middle = rect.center().y();
    return evenlySpaced({rect.left(), middle}, {rect.right(), middle}, {gold(), amber()});
}

QColor primary() {
    return QGuiApplication::palette().color(QPalette::WindowText);
}

QColor secondary() {
    return withOpacity(primary(), 0.55);
}

QColor material(double opacity) {
    return withOpacity(QGuiApplication::palette().color(QPalette::Window), opacity);
}

QPainterPath continuousRoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    const double shortSide = std::min(rect.width(), rect.height());
    if (radius * kCornerReach > shortSide / 2) {
        const double circular = std::min(radius, shortSide / 2);
        path.addRoundedRect(rect, circular, circular);
        return path;
    }
    const double reach = radius * kCornerReach;
    const QPointF right(radius, 0), down(0, radius);
    path.moveTo(rect.left() + reach, rect.top());
    path.lineTo(rect.right() - reach, rect.top());
    addContinuousCorner(path, rect.topRight(), -right, down);
    path.lineTo(rect.right(), rect.bottom() - reach);
    addContinuousCorner(path, rect.bottomRight(), -down, -right);
    path.lineTo(rect.left() + reach, rect.bottom());
    addContinuousCorner(path, rect.bottomLeft(), right, -down);
    path.lineTo(rect.left(), rect.top() + reach);
    addContinuousCorner(path, rect.topLeft(), down, right);
    path.closeSubpath();
    return path;
}

void paintPanel(QPainter& painter, const QRectF& rect, bool translucent) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Without a compositor the window cannot show through, so the corners outside the rounded
    // shape get the same opaque colour instead of black.
    if (!translucent) painter.fillRect(rect, material(1));
    const QPainterPath shape = continuousRoundedRect(rect, kPanelRadius);
    painter.fillPath(shape, material(translucent ? kPanelOpacity : 1));
    painter.fillPath(
        shape, evenlySpaced(rect.topLeft(), rect.bottomRight(),
                            {white(0.08), withOpacity(systemOrange(), 0.05), Qt::transparent}));

    QLinearGradient border(rect.topLeft(), rect.bottomLeft());
    border.setColorAt(0, white(0.28));
    border.setColorAt(1, white(0.06));
    strokeInside(painter, rect, kPanelRadius, border);
    painter.restore();
}

void paintCard(QPainter& painter, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(rect, kCardRadius), withOpacity(primary(), 0.045));
    strokeInside(painter, rect, kCardRadius, white(0.06));
    painter.restore();
}

}  // namespace corvane::ui::theme
