#pragma once

#include <QColor>

namespace corvane::ui {

// `color` drawn at `opacity`, on top of its own.
inline QColor faded(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace corvane::ui
