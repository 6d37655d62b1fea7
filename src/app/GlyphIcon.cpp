#include "app/GlyphIcon.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <string>

#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/SymbolIcons.h"

namespace corvane::app {
namespace {

constexpr int kTraySizes[] = {16, 22, 24, 32, 48, 64};
// Share of the height the small sun takes above a readout, and the gap under it.
constexpr double kSmallSunShare = 0.44;
constexpr double kGap = 0.04;
// Digits are narrowed to no less than this share of their width before they shrink.
constexpr double kMostNarrowing = 0.6;

// The readout as a path filling `box`: full height, narrowed when it would be too wide.
QPainterPath readoutPath(int value, const QRectF& box) {
    QFont font = ui::fonts::roundedMonospacedDigits(11, QFont::DemiBold);
    QPainterPath text;
    text.addText(0, 0, font, ui::localizedInteger("%lld", value));
    QRectF bounds = text.boundingRect();
    if (bounds.isEmpty()) return text;
    double scaleY = box.height() / bounds.height();
    double scaleX = std::min(scaleY, box.width() / bounds.width());
    if (scaleX < scaleY * kMostNarrowing) scaleY = scaleX / kMostNarrowing;
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(scaleX, scaleY);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(text);
}

// The glyph in one colour, on a transparent image of `pixels` square.
QImage paintInk(const GlyphContent& content, int pixels, double inset, const QColor& ink) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF area(inset, inset, pixels - 2 * inset, pixels - 2 * inset);
    if (!content.readout) {
        ui::symbols::paint(painter, area, content.symbol, ink);
        return image;
    }
    double sunSide = area.height() * kSmallSunShare;
    QRectF sun(area.center().x() - sunSide / 2, area.top(), sunSide, sunSide);
    ui::symbols::paint(painter, sun, content.symbol, ink);
    QRectF digits(area.left(), sun.bottom() + area.height() * kGap, area.width(),
                  area.bottom() - sun.bottom() - area.height() * kGap);
    painter.fillPath(readoutPath(*content.readout, digits), ink);
    return image;
}

// The ink's shape spread by one pixel in every direction, in the halo colour.
QImage haloOf(const QImage& ink, const QColor& halo) {
    QImage spread(ink.size(), QImage::Format_ARGB32_Premultiplied);
    spread.fill(Qt::transparent);
    QPainter painter(&spread);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) painter.drawImage(dx, dy, ink);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(spread.rect(), halo);
    return spread;
}

}  // namespace

GlyphColors GlyphColors::from(const QPalette& palette) {
    QColor ink = palette.color(QPalette::WindowText);
    QColor halo = ink.lightnessF() < 0.5 ? QColor(255, 255, 255) : QColor(0, 0, 0);
    halo.setAlphaF(0.45f);
    return GlyphColors{ink, halo};
}

QImage paintGlyph(const GlyphContent& content, int size, double devicePixelRatio,
                  const GlyphColors& colors) {
    int pixels = std::max(1, static_cast<int>(std::lround(size * devicePixelRatio)));
    // One device pixel of room for the halo.
    QImage ink = paintInk(content, pixels, 1.0, colors.ink);
    QImage glyph = haloOf(ink, colors.halo);
    QPainter painter(&glyph);
    painter.drawImage(0, 0, ink);
    painter.end();
    glyph.setDevicePixelRatio(devicePixelRatio);
    return glyph;
}

QIcon glyphIcon(const GlyphContent& content, const GlyphColors& colors) {
    QIcon icon;
    for (int size : kTraySizes)
        for (double ratio : {1.0, 2.0})
            icon.addPixmap(QPixmap::fromImage(paintGlyph(content, size, ratio, colors)));
    return icon;
}

}  // namespace corvane::app
