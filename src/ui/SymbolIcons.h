#pragma once

#include <QBrush>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <string_view>

class QPainter;

// The symbol images, drawn by us as SVG and keyed by their symbol names ("sun.max",
// "sun.max.fill", "percent", "battery.75", "power.circle", "rectangle.split.2x1", "globe",
// "envelope", "minus", "plus").
namespace corvane::ui::symbols {

bool exists(std::string_view name);
// The side of a symbol that stands in for text of `pointSize`, a little larger than the text.
double sideForPointSize(double pointSize);
// Paints the symbol into `rect` (kept square, centred) filled with `brush`: a colour or a
// gradient.
void paint(QPainter& painter, const QRectF& rect, std::string_view name, const QBrush& brush);
// The symbol at `size` device-independent pixels and `devicePixelRatio`.
QPixmap pixmap(std::string_view name, QSize size, const QBrush& brush, double devicePixelRatio = 1);

}  // namespace corvane::ui::symbols
