#include "LogindMock.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QThread>

#include "support/DBusMockCalls.h"

namespace corvane::linux_desktop::testing {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/auto");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
constexpr int kStartMilliseconds = 15000;

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished(5000);
}

}  // namespace

bool processEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

LogindMock::~LogindMock() {
    stop(logind_);
    stop(bus_);
}

bool LogindMock::fail(const QString& why) {
    error_ = why;
    return false;
}

bool LogindMock::start() {
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address")});
    if (!bus_.waitForStarted(kStartMilliseconds)) return fail("dbus-daemon did not start");
    QElapsedTimer clock;
    clock.start();
    while (!bus_.canReadLine() && clock.elapsed() < kStartMilliseconds) bus_.waitForReadyRead(100);
    const QString address = QString::fromUtf8(bus_.readLine()).trimmed();
    if (address.isEmpty()) return fail("dbus-daemon printed no address");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());

    // Debian installs python3-dbusmock for the system's interpreter.
    logind_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    logind_.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                   QStringLiteral("--template"), QStringLiteral("logind")});
    if (!logind_.waitForStarted(kStartMilliseconds)) return fail("python3 did not start");
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return fail("cannot connect to the private bus " + address);
    const bool registered = processEventsUntil(
        [&] {
            return logind_.state() != QProcess::Running ||
                   bus.interface()->isServiceRegistered(kService).value();
        },
        kStartTimeout);
    if (!registered || logind_.state() != QProcess::Running)
        return fail("the logind mock did not come up (is python3-dbusmock installed?)");
    return true;
}

std::unique_ptr<QDBusInterface> LogindMock::mockInterface(const QString& path) {
    return std::make_unique<QDBusInterface>(kService, path, kMockInterface,
                                            QDBusConnection::systemBus());
}

bool LogindMock::addCallerSessionWithBrightness() {
    QDBusMessage session =
        mockInterface(kManagerPath)
            ->call(QStringLiteral("AddSession"), QStringLiteral("auto"), QStringLiteral("seat0"),
                   quint32(1000), QStringLiteral("user"), true);
    if (session.type() != QDBusMessage::ReplyMessage) return fail(session.errorMessage());
    QDBusMessage method =
        mockInterface(kSessionPath)
            ->call(QStringLiteral("AddMethod"), QStringLiteral("org.freedesktop.login1.Session"),
                   QStringLiteral("SetBrightness"), QStringLiteral("ssu"), QString(), QString());
    if (method.type() != QDBusMessage::ReplyMessage) return fail(method.errorMessage());
    return true;
}

QList<QVariantList> LogindMock::brightnessCalls() {
    return corvane::testing::recordedCalls(
        mockInterface(kSessionPath)
            ->call(QStringLiteral("GetMethodCalls"), QStringLiteral("SetBrightness")));
}

bool LogindMock::emitPrepareForSleep(bool beforeSleep) {
    QDBusMessage reply =
        mockInterface(kManagerPath)
            ->call(QStringLiteral("EmitSignal"), QStringLiteral("org.freedesktop.login1.Manager"),
                   QStringLiteral("PrepareForSleep"), QStringLiteral("b"),
                   QVariantList{beforeSleep});
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace corvane::linux_desktop::testing
