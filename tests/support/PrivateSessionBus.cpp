#include "support/PrivateSessionBus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace corvane::testing {

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (process.waitForFinished(5000)) return;
    process.kill();
    process.waitForFinished(5000);
}

PrivateSessionBus::~PrivateSessionBus() {
    for (const QString& name : connections_) QDBusConnection::disconnectFromBus(name);
    stopProcess(daemon_);
}

bool PrivateSessionBus::start() {
    daemon_.start(QStringLiteral("timeout"),
                  {QStringLiteral("300"), QStringLiteral("dbus-daemon"), QStringLiteral("--session"),
                   QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    if (!daemon_.waitForStarted(10000)) {
        error_ = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    waitUntil([this] { return daemon_.canReadLine() || daemon_.waitForReadyRead(50); });
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty()) error_ = QStringLiteral("dbus-daemon printed no address");
    return !address_.isEmpty();
}

QDBusConnection PrivateSessionBus::connect(const QString& name) {
    const QString unique = name + QLatin1Char('@') + address_;
    connections_.append(unique);
    return QDBusConnection::connectToBus(address_, unique);
}

QProcessEnvironment PrivateSessionBus::environment(const QString& configHome) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
                       QStringLiteral("unix:path=/nonexistent/corvane-test-bus"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
    return environment;
}

}  // namespace corvane::testing
