#include "app/GlyphIcon.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "app/GlyphIconEngine.h"
#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/SymbolIcons.h"
#include "ui/Theme.h"

namespace corvane::app {
namespace {

// Shares of the height: the small sun above a readout, the gap under it, and the digits'
// inset inside their capsule.
constexpr double kSmallSunShare = 0.46;
constexpr double kGapShare = 0.03;
constexpr double kDigitInsetShare = 0.2;
// Digits are narrowed to no less than this share of their width before they shrink.
constexpr double kMostNarrowing = 0.62;

// The shape and advance of one character of the readout font, made once per character: laying
// out text and hinting it through the font engine is what a redraw would otherwise spend
// nearly all its time on.
struct CharacterShape {
    QPainterPath path;
    double advance = 0;
};

const CharacterShape& characterShape(QChar character) {
    static QHash<QChar, CharacterShape> cache;
    if (auto found = cache.constFind(character); found != cache.constEnd()) return *found;
    QFont font = ui::fonts::roundedMonospacedDigits(11, QFont::DemiBold);
    CharacterShape shape;
    shape.path.addText(0, 0, font, QString(character));
    shape.advance = QFontMetricsF(font).horizontalAdvance(character);
    return *cache.insert(character, shape);
}

// The readout's text as one path, laid out from the cached character shapes.
QPainterPath textPath(const QString& text) {
    QPainterPath path;
    double x = 0;
    for (QChar character : text) {
        const CharacterShape& shape = characterShape(character);
        path.addPath(shape.path.translated(x, 0));
        x += shape.advance;
    }
    return path;
}

// The readout as a path filling `box`: full height, narrowed when it would be too wide.
QPainterPath readoutPath(int value, const QRectF& box) {
    QPainterPath text = textPath(ui::localizedInteger("%lld", value));
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

// The sun symbol in the sun gradient, `side` pixels square, drawn once per symbol and size.
const QImage& sunImage(std::string_view symbol, int side) {
    static QHash<QString, QImage> cache;
    QString key = QString::fromUtf8(symbol.data(), static_cast<qsizetype>(symbol.size())) +
                  QLatin1Char('@') + QString::number(side);
    if (auto found = cache.constFind(key); found != cache.constEnd()) return *found;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF area(0, 0, side, side);
    ui::symbols::paint(painter, area, symbol, ui::theme::sunGradient(area));
    painter.end();
    return *cache.insert(key, image);
}

void paintSun(QPainter& painter, std::string_view symbol, const QRectF& area) {
    int side = std::max(1, static_cast<int>(std::lround(std::min(area.width(), area.height()))));
    QPointF centre = area.center();
    painter.drawImage(QPoint(static_cast<int>(std::lround(centre.x() - side / 2.0)),
                             static_cast<int>(std::lround(centre.y() - side / 2.0))),
                      sunImage(symbol, side));
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
        paintSun(painter, content.symbol, area);
    } else {
        double sunSide = area.height() * kSmallSunShare;
        QRectF sun(area.center().x() - sunSide / 2, area.top(), sunSide, sunSide);
        paintSun(painter, content.symbol, sun);
        double top = sun.bottom() + area.height() * kGapShare;
        paintReadout(painter, *content.readout,
                     QRectF(area.left(), top, area.width(), area.bottom() - top));
    }
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

QIcon glyphIcon(const GlyphContent& content) {
    return QIcon(new GlyphIconEngine(content));
}

}  // namespace corvane::app
