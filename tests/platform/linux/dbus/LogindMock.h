#pragma once

#include <QDBusConnection>
#include <QDBusInterface>
#include <QProcess>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

namespace corvane::linux_desktop::testing {

// A private message bus standing in for the system bus, with python-dbusmock's login manager
// on it. The test process's system bus is pointed at it, so it must be started before the
// process first asks Qt for the system bus. Every wait is bounded.
class LogindMock {
  public:
    static constexpr std::chrono::seconds kStartTimeout{15};

    ~LogindMock();

    // Starts the bus and the mock; on failure error() says why.
    bool start();
    const QString& error() const { return error_; }

    // A logind session "auto" (the caller's session) that accepts SetBrightness.
    bool addCallerSessionWithBrightness();
    // The arguments of every SetBrightness call the session received, in order.
    QList<QVariantList> brightnessCalls();
    // Makes the manager emit PrepareForSleep(`beforeSleep`).
    bool emitPrepareForSleep(bool beforeSleep);

  private:
    bool fail(const QString& why);
    std::unique_ptr<QDBusInterface> mockInterface(const QString& path);

    QProcess bus_;
    QProcess logind_;
    QString error_;
};

// Runs the event loop until `done` or `timeout`; whether `done` became true.
bool processEventsUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace corvane::linux_desktop::testing
