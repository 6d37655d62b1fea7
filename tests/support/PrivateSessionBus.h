#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <chrono>
#include <functional>

namespace corvane::testing {

// A message bus of the test's own (dbus-daemon, stopped with the object) standing in for the
// session bus. Connections to it are made by name; processes the test starts are pointed at it
// through their environment. Every wait is bounded.
class PrivateSessionBus {
  public:
    ~PrivateSessionBus();

    // Starts the daemon; false (and error()) when it could not.
    bool start();
    const QString& error() const { return error_; }
    const QString& address() const { return address_; }

    // A connection of its own to the bus, named `name` within this process.
    QDBusConnection connect(const QString& name);
    // The test's environment with this bus as the session bus, the offscreen Qt platform and
    // a configuration folder of the test's.
    QProcessEnvironment environment(const QString& configHome) const;

  private:
    QProcess daemon_;
    QString address_;
    QString error_;
    QStringList connections_;
};

// Keeps every signal message a connection hands it.
class SignalRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QDBusMessage> messages;

  public slots:
    void record(const QDBusMessage& message) { messages.append(message); }
};

// Stops a process started under `timeout`: SIGTERM, which timeout passes on to the program it
// runs, then SIGKILL if need be.
void stopProcess(QProcess& process);

// Runs the event loop until `done` or `timeout`; whether `done` became true.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace corvane::testing
