#pragma once

#include <QRectF>
#include <QSizeF>
#include <optional>

#include "hud/BrightnessHUDView.h"

class QPainter;

namespace corvane::ui {

// Where the indicator's rows go in a panel of `size`: title, level, bar and, with nits, the
// nits line. The rows are stacked 8 apart, each centred horizontally, and the stack is centred
// vertically, so a stack taller than the 14-point insets allow shares the overflow between
// them instead of leaving the panel.
struct IndicatorLayout {
    QRectF title;
    QRectF level;
    QRectF bar;
    std::optional<QRectF> nits;
};

IndicatorLayout layoutIndicator(const BrightnessHUDView& view, const QSizeF& size);

// Paints the indicator for `view` into a panel of `size` at the painter's origin. Without
// `translucent` the panel's corners are filled too.
void paintIndicator(QPainter& painter, const BrightnessHUDView& view, const QSizeF& size,
                    bool translucent);

}  // namespace corvane::ui
