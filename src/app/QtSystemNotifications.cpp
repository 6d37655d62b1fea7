#include "app/QtSystemNotifications.h"

#include <QGuiApplication>
#include <QScreen>

namespace corvane::app {

QtSystemNotifications::QtSystemNotifications(WakeSource wake) : wake_(std::move(wake)) {
    auto* application = static_cast<QGuiApplication*>(QCoreApplication::instance());
    connect(application, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        screensChanged();
    });
    connect(application, &QGuiApplication::screenRemoved, this,
            &QtSystemNotifications::screensChanged);
    connect(application, &QGuiApplication::primaryScreenChanged, this,
            &QtSystemNotifications::screensChanged);
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
}

void QtSystemNotifications::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &QtSystemNotifications::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this,
            &QtSystemNotifications::screensChanged);
}

void QtSystemNotifications::screensChanged() {
    if (deliveryPending_) return;
    deliveryPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            deliveryPending_ = false;
            screenHandlers_.notify();
        },
        Qt::QueuedConnection);
}

std::unique_ptr<NotificationObserver> QtSystemNotifications::observeScreenParameters(
    std::function<void()> handler) {
    return screenHandlers_.add(std::move(handler));
}

std::unique_ptr<NotificationObserver> QtSystemNotifications::observeWake(
    std::function<void()> handler) {
    return wake_(std::move(handler));
}

}  // namespace corvane::app
