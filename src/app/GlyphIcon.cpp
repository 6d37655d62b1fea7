#include "app/GlyphIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/SymbolIcons.h"
#include "ui/Theme.h"

namespace corvane::app {
namespace {

constexpr int kTraySizes[] = {16, 22, 24, 32, 48, 64};
// Shares of the height: the small sun above a readout, the gap under it, and the digits'
// inset inside their capsule.
constexpr double kSmallSunShare = 0.46;
constexpr double kGapShare = 0.03;
constexpr double kDigitInsetShare = 0.2;
// Digits are narrowed to no less than this share of their width before they shrink.
constexpr double kMostNarrowing = 0.62;

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

void paintReadout(QPainter& painter, int value, const QRectF& area) {
    double radius = area.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::theme::dusk());
    painter.drawRoundedRect(area, radius, radius);
    double inset = area.height() * kDigitInsetShare;
    QRectF digits = area.adjusted(inset * 1.2, inset, -inset * 1.2, -inset);
    painter.fillPath(readoutPath(value, digits), Qt::white);
}

}  // namespace

QImage paintGlyph(const GlyphContent& content, int size, double devicePixelRatio) {
    int pixels = std::max(1, static_cast<int>(std::lround(size * devicePixelRatio)));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF area(0, 0, pixels, pixels);
    if (!content.readout) {
        ui::symbols::paint(painter, area, content.symbol, ui::theme::sunGradient(area));
    } else {
        double sunSide = area.height() * kSmallSunShare;
        QRectF sun(area.center().x() - sunSide / 2, area.top(), sunSide, sunSide);
        ui::symbols::paint(painter, sun, content.symbol, ui::theme::sunGradient(sun));
        double top = sun.bottom() + area.height() * kGapShare;
        paintReadout(painter, *content.readout,
                     QRectF(area.left(), top, area.width(), area.bottom() - top));
    }
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon glyphIcon(const GlyphContent& content) {
    QIcon icon;
    for (int size : kTraySizes)
        for (double ratio : {1.0, 2.0})
            icon.addPixmap(QPixmap::fromImage(paintGlyph(content, size, ratio)));
    return icon;
}

}  // namespace corvane::app
