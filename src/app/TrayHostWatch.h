#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace corvane::app {

// Whether the desktop has a tray to put the item in, and the moment one appears after start:
// a StatusNotifierWatcher on the session bus with a tray host registered at it (the tray of
// KDE, of GNOME's AppIndicator extension and of most panels; Qt shows its icons there only
// once a host is registered), or, on X11, an embedded tray, checked when the socket given for
// it turns readable (else every few seconds) until a tray is there. Qt is not asked before a tray is known: it settles on the D-Bus tray or the
// embedded one the first time it is asked, for the rest of the process. Main thread only.
class TrayHostWatch : public QObject {
    Q_OBJECT
  public:
    static constexpr int kRecheckMs = 3000;
    static const QString kWatcherService;
    static const QString kWatcherPath;

    // Whether an embedded tray is there, asked afresh on each call; none where there can be
    // no such tray (Wayland).
    using TrayCheck = std::function<bool()>;

    // `embeddedTrayWakeFd`, when not -1, turns readable when an embedded tray may have come.
    TrayHostWatch(const QDBusConnection& bus, TrayCheck embeddedTray,
                  int embeddedTrayWakeFd = -1);

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
    TrayCheck embeddedTray_;
    bool available_ = false;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    QTimer recheck_;
    std::unique_ptr<QSocketNotifier> wake_;
};

}  // namespace corvane::app
