#include "app/TrayHostWatch.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace corvane::app {

const QString TrayHostWatch::kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString TrayHostWatch::kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

namespace {

// A watcher answers at once; a hung one must not hold the start for long.
constexpr int kCallTimeoutMs = 500;

}  // namespace

TrayHostWatch::TrayHostWatch(const QDBusConnection& bus, TrayCheck embeddedTray,
                             int embeddedTrayWakeFd)
    : bus_(bus), embeddedTray_(std::move(embeddedTray)) {
    available_ = hostRegistered() || (embeddedTray_ && embeddedTray_());
    if (available_) return;
    if (bus_.isConnected()) {
        // A host registers at the watcher (then announced), or a watcher comes that has one.
        bus_.connect(kWatcherService, kWatcherPath, kWatcherService,
                     QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(found()));
        watcher_ = std::make_unique<QDBusServiceWatcher>(
            kWatcherService, bus_, QDBusServiceWatcher::WatchForRegistration);
        connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered, this,
                &TrayHostWatch::watcherCame);
    }
    if (!embeddedTray_) return;
    auto check = [this] {
        if (embeddedTray_()) found();
    };
    if (embeddedTrayWakeFd >= 0) {
        wake_ = std::make_unique<QSocketNotifier>(embeddedTrayWakeFd, QSocketNotifier::Read);
        connect(wake_.get(), &QSocketNotifier::activated, this, check);
    } else {
        connect(&recheck_, &QTimer::timeout, this, check);
        recheck_.start(kRecheckMs);
    }
}

bool TrayHostWatch::hostRegistered() const {
    if (!bus_.isConnected()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    QDBusReply<QDBusVariant> reply = bus_.call(get, QDBus::Block, kCallTimeoutMs);
    return reply.isValid() && reply.value().variant().toBool();
}

void TrayHostWatch::watcherCame() {
    if (hostRegistered()) found();
}

void TrayHostWatch::found() {
    if (available_) return;
    available_ = true;
    recheck_.stop();
    if (wake_) wake_->setEnabled(false);
    bus_.disconnect(kWatcherService, kWatcherPath, kWatcherService,
                    QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(found()));
    if (watcher_) watcher_.release()->deleteLater();  // it may be the caller
    emit appeared();
}

}  // namespace corvane::app
