#include "ui/SymbolIcons.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cmath>
#include <memory>

namespace corvane::ui::symbols {
namespace {

constexpr double kSideToPointSize = 1.25;

QString resourcePath(std::string_view name) {
    return QStringLiteral(":/icons/%1.svg")
        .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

// The symbol's shape as an alpha mask of `pixels` × `pixels`, rendered once per name and size.
QImage mask(std::string_view name, int pixels) {
    static QHash<QString, QImage> cache;
    const QString path = resourcePath(name);
    const QString key = path + QLatin1Char('@') + QString::number(pixels);
    if (auto found = cache.constFind(key); found != cache.constEnd()) return *found;

    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    }
    cache.insert(key, image);
    return image;
}

// The mask filled with `brush`, whose coordinates are those of a square of `side`
// device-independent pixels at the image's origin.
QImage tinted(std::string_view name, double side, const QBrush& brush, double scale) {
    const int pixels = std::max(1, static_cast<int>(std::ceil(side * scale)));
    QImage image = mask(name, pixels);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.scale(pixels / side, pixels / side);
    painter.fillRect(QRectF(0, 0, side, side), brush);
    return image;
}

QRectF centredSquare(const QRectF& rect) {
    const double side = std::min(rect.width(), rect.height());
    return {rect.center().x() - side / 2, rect.center().y() - side / 2, side, side};
}

}  // namespace

bool exists(std::string_view name) {
    return QFile::exists(resourcePath(name));
}

double sideForPointSize(double pointSize) {
    return pointSize * kSideToPointSize;
}

void paint(QPainter& painter, const QRectF& rect, std::string_view name, const QBrush& brush) {
    const QRectF square = centredSquare(rect);
    if (square.isEmpty()) return;
    const double deviceRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double scale = deviceRatio * std::max(std::abs(painter.worldTransform().m11()), 1.0);
    QBrush local = brush;
    local.setTransform(brush.transform() * QTransform::fromTranslate(-square.x(), -square.y()));
    painter.drawImage(square, tinted(name, square.width(), local, scale));
}

QPixmap pixmap(std::string_view name, QSize size, const QBrush& brush, double devicePixelRatio) {
    const double side = std::min(size.width(), size.height());
    QPixmap result(size * devicePixelRatio);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    if (side <= 0) return result;
    QPainter painter(&result);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), name, brush);
    return result;
}

}  // namespace corvane::ui::symbols
