#include "ui/DesktopCoordinates.h"

#include <QGuiApplication>
#include <QScreen>

namespace corvane::ui::desktop {
namespace {

QRect primaryGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

// The core's y = 0 line in Qt's coordinates: the bottom edge of the primary screen.
double baseline(const QRect& primaryScreen) {
    return primaryScreen.y() + static_cast<double>(primaryScreen.height());
}

}  // namespace

QRectF toQt(const Rect& frame, const QRect& primaryScreen) {
    return {primaryScreen.x() + frame.x, baseline(primaryScreen) - frame.maxY(), frame.width,
            frame.height};
}

Rect fromQt(const QRectF& rect, const QRect& primaryScreen) {
    return {rect.x() - primaryScreen.x(), baseline(primaryScreen) - rect.bottom(), rect.width(),
            rect.height()};
}

QRectF toQt(const Rect& frame) {
    return toQt(frame, primaryGeometry());
}

Rect fromQt(const QRectF& rect) {
    return fromQt(rect, primaryGeometry());
}

}  // namespace corvane::ui::desktop
