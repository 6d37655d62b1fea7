#include "app/GlyphIconEngine.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "app/GlyphIcon.h"

namespace corvane::app {

QPixmap GlyphIconEngine::scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State,
                                      qreal scale) {
    if (size != drawnSize_ || scale != drawnScale_) {
        int side = std::max(1, std::min(size.width(), size.height()));
        drawn_ = QPixmap::fromImage(paintGlyph(content_, side, scale));
        drawnSize_ = size;
        drawnScale_ = scale;
        ++draws_;
    }
    return drawn_;
}

QPixmap GlyphIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

void GlyphIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state) {
    qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

}  // namespace corvane::app
