#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QTimer>
#include <memory>

namespace corvane::app {

// Whether the desktop has a tray to put the item in, and the moment one appears after start:
// a StatusNotifierWatcher on the session bus with a tray host registered at it (the tray of
// KDE, of GNOME's AppIndicator extension and of most panels; Qt shows its icons there only
// once a host is registered), or, where Qt may be asked (on X11, where the old embedded tray
// is looked up afresh each time), Qt's own answer, checked every few seconds until a tray is
// there. Main thread only.
class TrayHostWatch : public QObject {
    Q_OBJECT
  public:
    static constexpr int kRecheckMs = 3000;
    static const QString kWatcherService;
    static const QString kWatcherPath;

    // `askQt`: also rely on QSystemTrayIcon::isSystemTrayAvailable(). Qt remembers its first
    // answer about the D-Bus tray, so it is not asked on Wayland, where only that tray exists.
    TrayHostWatch(const QDBusConnection& bus, bool askQt);

    bool available() const { return available_; }

  signals:
    // Once, when a tray appears after the watch began without one.
    void appeared();

  private slots:
    void found();

  private:
    bool hostRegistered() const;
    void watcherCame();

    QDBusConnection bus_;
    bool askQt_;
    bool available_ = false;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    QTimer recheck_;
};

}  // namespace corvane::app
