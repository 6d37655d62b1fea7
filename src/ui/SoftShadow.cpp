#include "ui/SoftShadow.h"

#include <QCache>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace corvane::ui {
namespace {

// Blurred images are kept by shape, colour, radius and pixel ratio: a knob's shadow moves with
// the knob but never changes.
constexpr int kCacheKilobytes = 2048;
// A capsule's length is kept to an eighth of a device pixel, which no blur lets anyone see.
constexpr double kLengthSteps = 8;

std::vector<float> gaussianKernel(double sigma) {
    const int reach = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> kernel(static_cast<std::size_t>(2 * reach + 1));
    float sum = 0;
    for (int i = -reach; i <= reach; ++i) {
        const float weight = static_cast<float>(std::exp(-(i * i) / (2 * sigma * sigma)));
        kernel[static_cast<std::size_t>(i + reach)] = weight;
        sum += weight;
    }
    for (float& weight : kernel) weight /= sum;
    return kernel;
}

// One pass of a separable blur over a premultiplied image, along rows or along columns.
void blurPass(QImage& image, const std::vector<float>& kernel, bool alongRows) {
    const int reach = static_cast<int>(kernel.size() / 2);
    const int lines = alongRows ? image.height() : image.width();
    const int length = alongRows ? image.width() : image.height();
    std::vector<QRgb> source(static_cast<std::size_t>(length));
    for (int line = 0; line < lines; ++line) {
        auto pixel = [&](int i) -> QRgb* {
            return alongRows ? reinterpret_cast<QRgb*>(image.scanLine(line)) + i
                             : reinterpret_cast<QRgb*>(image.scanLine(i)) + line;
        };
        for (int i = 0; i < length; ++i) source[static_cast<std::size_t>(i)] = *pixel(i);
        for (int i = 0; i < length; ++i) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int k = -reach; k <= reach; ++k) {
                const int at = i + k;
                if (at < 0 || at >= length) continue;
                const QRgb value = source[static_cast<std::size_t>(at)];
                const float weight = kernel[static_cast<std::size_t>(k + reach)];
                r += weight * static_cast<float>(qRed(value));
                g += weight * static_cast<float>(qGreen(value));
                b += weight * static_cast<float>(qBlue(value));
                a += weight * static_cast<float>(qAlpha(value));
            }
            *pixel(i) = qRgba(qRound(r), qRound(g), qRound(b), qRound(a));
        }
    }
}

// A blurred image and the whole device pixel its top-left corner goes to.
struct PlacedShadow {
    QImage image;
    QPoint devicePixel;
};

// The blur's reach in points beyond the shape, and its deviation.
struct Blur {
    explicit Blur(double radius) : sigma(std::max(radius / 2, 0.5)), reach(std::ceil(3 * sigma)) {}
    double sigma;
    double reach;
};

void appendBytes(QByteArray& key, const auto& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

QByteArray cacheKey(const QPainterPath& shape, const QColor& color, double radius, double ratio) {
    QByteArray key;
    const QPointF origin = shape.boundingRect().topLeft();
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element element = shape.elementAt(i);
        appendBytes(key, element.type);
        appendBytes(key, element.x - origin.x());
        appendBytes(key, element.y - origin.y());
    }
    appendBytes(key, color.rgba64());
    for (double number : {radius, ratio}) appendBytes(key, number);
    return key;
}

QImage blurredSilhouette(const QPainterPath& shape, const QColor& color, const Blur& blur,
                         double ratio) {
    const QRectF bounds =
        shape.boundingRect().adjusted(-blur.reach, -blur.reach, blur.reach, blur.reach);
    QImage image((bounds.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter silhouette(&image);
        silhouette.setRenderHint(QPainter::Antialiasing);
        silhouette.translate(-bounds.topLeft());
        silhouette.fillPath(shape, color);
    }
    const auto kernel = gaussianKernel(blur.sigma * ratio);
    blurPass(image, kernel, true);
    blurPass(image, kernel, false);
    return image;
}

// The blurred silhouette of `shape` (already moved to where it is drawn), from the cache. It
// goes to the nearest whole device pixel, as an image drawn at a fractional point would.
PlacedShadow placedShadow(const QPainterPath& shape, const QColor& color, double radius,
                          double ratio) {
    static QCache<QByteArray, QImage> cache(kCacheKilobytes);
    const Blur blur(radius);
    const QPointF corner =
        (shape.boundingRect().topLeft() - QPointF(blur.reach, blur.reach)) * ratio;
    // Halves round up, also left of or above the painter's origin.
    auto nearest = [](double at) { return static_cast<int>(std::floor(at + 0.5)); };
    const QPoint devicePixel(nearest(corner.x()), nearest(corner.y()));
    const QByteArray key = cacheKey(shape, color, radius, ratio);
    if (const QImage* cached = cache.object(key)) return {*cached, devicePixel};
    QImage image = blurredSilhouette(shape, color, blur, ratio);
    cache.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
    return {image, devicePixel};
}

double deviceRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

}  // namespace

void paintSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color,
                     double radius, QPointF offset) {
    const double ratio = deviceRatio(painter);
    const PlacedShadow shadow = placedShadow(shape.translated(offset), color, radius, ratio);
    painter.drawImage(QPointF(shadow.devicePixel) / ratio, shadow.image);
}

void paintSoftCapsuleShadow(QPainter& painter, const QRectF& capsule, const QColor& color,
                            double radius) {
    const double ratio = deviceRatio(painter);
    const double height = capsule.height();
    // The columns this far in from either end of the blurred image see that end's cap; the
    // ones between see only the straight part and are all alike.
    const double capReach = 2 * Blur(radius).reach + height / 2 + 1;
    const double shortest = 2 * capReach;
    auto shapeOf = [](const QRectF& rect) {
        QPainterPath path;
        const double round = std::min(rect.width(), rect.height()) / 2;
        path.addRoundedRect(rect, round, round);
        return path;
    };
    if (capsule.width() < shortest + 1) {
        paintSoftShadow(painter, shapeOf(capsule), color, radius);
        return;
    }
    // A short capsule with the same ends to the eighth of a pixel, whose middle column is
    // stretched to the length asked for.
    const double widthPhase = std::fmod(capsule.width() * ratio, 1.0);
    const double endPhase = std::round(widthPhase * kLengthSteps) / kLengthSteps;
    const double shortWidth = shortest + endPhase / ratio;
    const PlacedShadow shadow = placedShadow(
        shapeOf(QRectF(capsule.topLeft(), QSizeF(shortWidth, height))), color, radius, ratio);
    const QImage& image = shadow.image;
    const int extra = static_cast<int>(std::lround((capsule.width() - shortWidth) * ratio));
    const int middle = image.width() / 2;
    const int rows = image.height();
    auto draw = [&](int at, int width, int from, int fromWidth) {
        const QRectF target(QPointF(shadow.devicePixel + QPoint(at, 0)) / ratio,
                            QSizeF(width, rows) / ratio);
        painter.drawImage(target, image, QRect(from, 0, fromWidth, rows));
    };
    draw(0, middle, 0, middle);
    draw(middle, extra + 1, middle, 1);
    draw(middle + extra + 1, image.width() - middle - 1, middle + 1, image.width() - middle - 1);
}

}  // namespace corvane::ui
