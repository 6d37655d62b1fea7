#include "app/TrayHostWatch.h"

#include <QDBusConnectionInterface>
#include <QSystemTrayIcon>

namespace corvane::app {
namespace {

const QString kWatcherName = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

TrayHostWatch::TrayHostWatch(const QDBusConnection& bus, bool askQt) : bus_(bus), askQt_(askQt) {
    available_ = lookNow();
    if (available_) return;
    if (bus_.isConnected()) {
        watcher_ = std::make_unique<QDBusServiceWatcher>(
            kWatcherName, bus_, QDBusServiceWatcher::WatchForRegistration);
        connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered, this,
                &TrayHostWatch::found);
    }
    if (askQt_) {
        connect(&recheck_, &QTimer::timeout, this, [this] {
            if (QSystemTrayIcon::isSystemTrayAvailable()) found();
        });
        recheck_.start(kRecheckMs);
    }
}

bool TrayHostWatch::lookNow() const {
    if (bus_.isConnected() && bus_.interface() &&
        bus_.interface()->isServiceRegistered(kWatcherName).value())
        return true;
    return askQt_ && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayHostWatch::found() {
    if (available_) return;
    available_ = true;
    recheck_.stop();
    if (watcher_) watcher_.release()->deleteLater();  // it may be the caller
    emit appeared();
}

}  // namespace corvane::app
