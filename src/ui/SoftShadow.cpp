#include "ui/SoftShadow.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace corvane::ui {
namespace {

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

}  // namespace

void paintSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color,
                     double radius, QPointF offset) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double sigma = std::max(radius / 2, 0.5);
    const double reach = std::ceil(3 * sigma);
    const QRectF bounds =
        shape.boundingRect().translated(offset).adjusted(-reach, -reach, reach, reach);

    QImage image((bounds.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter silhouette(&image);
        silhouette.setRenderHint(QPainter::Antialiasing);
        silhouette.translate(-bounds.topLeft() + offset);
        silhouette.fillPath(shape, color);
    }
    const auto kernel = gaussianKernel(sigma * ratio);
    blurPass(image, kernel, true);
    blurPass(image, kernel, false);
    painter.drawImage(bounds.topLeft(), image);
}

}  // namespace corvane::ui
