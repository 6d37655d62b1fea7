#include "ui/IndicatorContent.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "hud/HUDLayout.h"
#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/LocalizationKeys.h"
#include "ui/SymbolIcons.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kTitlePointSize = 11;
constexpr double kTitleSpacing = 8;
constexpr double kTrackOpacity = 0.12;
constexpr double kBorderOpacity = 0.16;
// Thicker than the popover's, like a heavier material, since the indicator shows over anything.
constexpr double kMaterialOpacity = 0.94;

QFont titleFont() {
    return fonts::rounded(kTitlePointSize, QFont::DemiBold);
}
QFont levelFont() {
    return fonts::roundedMonospacedDigits(34, QFont::Bold);
}
QFont nitsFont() {
    return fonts::rounded(12, QFont::Medium);
}

QString titleText() {
    return localized(keys::kProductTitle);
}
QString levelText(const BrightnessHUDView& view) {
    return localizedInteger(keys::kPercent, view.percent);
}
QString nitsText(int nits) {
    return localizedInteger(keys::kHudNits, nits);
}

double symbolSide() {
    return symbols::sideForPointSize(kTitlePointSize);
}

// A row of `width` × `height` centred across `panelWidth`, starting at `top`.
QRectF centredRow(double panelWidth, double top, double width, double height) {
    return {(panelWidth - width) / 2, top, width, height};
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(opacity));
    return color;
}

void paintBackground(QPainter& painter, const QRectF& rect, bool translucent) {
    if (!translucent) painter.fillRect(rect, theme::material(1));
    const QPainterPath shape = theme::continuousRoundedRect(rect, kHUDCornerRadius);
    painter.fillPath(shape, theme::material(translucent ? kMaterialOpacity : 1));
    painter.setPen(QPen(withOpacity(Qt::white, kBorderOpacity), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(
        theme::continuousRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), kHUDCornerRadius - 0.5));
}

void paintTitle(QPainter& painter, const QRectF& row) {
    const QRectF symbol(row.left(), row.center().y() - symbolSide() / 2, symbolSide(),
                        symbolSide());
    symbols::paint(painter, symbol, "sun.max.fill", theme::sunGradient(symbol));
    painter.setFont(titleFont());
    painter.setPen(theme::secondary());
    painter.drawText(row.adjusted(symbolSide() + kTitleSpacing, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, titleText());
}

void paintBar(QPainter& painter, const QRectF& track, int percent) {
    const double radius = track.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(theme::primary(), kTrackOpacity));
    painter.drawRoundedRect(track, radius, radius);
    QRectF fill = track;
    fill.setWidth(hudBarFillWidth(track.width(), percent));
    painter.setBrush(theme::trackGradient(fill));
    painter.drawRoundedRect(fill, radius, radius);
}

}  // namespace

IndicatorLayout layoutIndicator(const BrightnessHUDView& view, const QSizeF& size) {
    const QFontMetricsF title(titleFont()), level(levelFont()), nits(nitsFont());
    const double titleHeight = std::max(symbolSide(), title.height());
    double stackHeight =
        titleHeight + kHUDRowSpacing + level.height() + kHUDRowSpacing + kHUDBarHeight;
    if (view.nits) stackHeight += kHUDRowSpacing + nits.height();

    const double contentWidth = size.width() - 2 * kHUDHorizontalPadding;
    double top = (size.height() - stackHeight) / 2;
    IndicatorLayout layout;
    const double titleWidth = symbolSide() + kTitleSpacing + title.horizontalAdvance(titleText());
    layout.title = centredRow(size.width(), top, titleWidth, titleHeight);
    top += titleHeight + kHUDRowSpacing;
    layout.level = centredRow(size.width(), top, contentWidth, level.height());
    top += level.height() + kHUDRowSpacing;
    layout.bar = centredRow(size.width(), top, contentWidth - 2 * kHUDBarInset, kHUDBarHeight);
    top += kHUDBarHeight + kHUDRowSpacing;
    if (view.nits) layout.nits = centredRow(size.width(), top, contentWidth, nits.height());
    return layout;
}

void paintIndicator(QPainter& painter, const BrightnessHUDView& view, const QSizeF& size,
                    bool translucent) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintBackground(painter, QRectF(QPointF(0, 0), size), translucent);

    const IndicatorLayout layout = layoutIndicator(view, size);
    paintTitle(painter, layout.title);
    painter.setFont(levelFont());
    painter.setPen(theme::primary());
    painter.drawText(layout.level, Qt::AlignCenter, levelText(view));
    paintBar(painter, layout.bar, view.percent);
    if (layout.nits) {
        painter.setFont(nitsFont());
        painter.setPen(theme::secondary());
        painter.drawText(*layout.nits, Qt::AlignCenter, nitsText(*view.nits));
    }
    painter.restore();
}

}  // namespace corvane::ui
