#pragma once

#include <QPointF>
#include <QRectF>

#include "ui/SymbolIcons.h"

namespace corvane::ui {

// The square a symbol takes when it stands in for text of `pointSize`, centred on `centre`.
inline QRectF symbolBox(double pointSize, QPointF centre) {
    const double side = symbols::sideForPointSize(pointSize);
    return {centre.x() - side / 2, centre.y() - side / 2, side, side};
}

// Plain buttons dim their label while pressed; they have no bezel or highlight of their own.
inline constexpr double kPressedOpacity = 0.6;

}  // namespace corvane::ui
