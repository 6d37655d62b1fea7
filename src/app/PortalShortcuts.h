#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

#include "input/BrightnessKey.h"

namespace corvane::app {

// The brightness keys through the desktop's GlobalShortcuts portal, for Wayland sessions where
// no key can be grabbed: a session is made at start, "brightness up", "brightness down" and
// their fine variants are bound to it (the desktop asks the user to confirm the keys), and
// each activation is handed on as a key press. Without the portal nothing happens. Main thread
// only.
class PortalShortcuts : public QObject {
    Q_OBJECT
  public:
    using KeyHandler = std::function<void(BrightnessKey key, bool fine)>;

    static const QString kService;
    static const QString kPath;
    static const QString kInterface;

    PortalShortcuts(const QDBusConnection& bus, KeyHandler onKey);

    // Creates the session when the portal is on the bus; whether it asked for one.
    bool start();
    // The object path of the request CreateSession answers on.
    QString createRequestPath() const;
    // The session's handle, once the portal has made it; empty before.
    const QString& session() const { return session_; }

  private slots:
    void sessionCreated(uint response, const QVariantMap& results);
    void activated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                   const QVariantMap& options);

  private:
    void bindShortcuts();

    QDBusConnection bus_;
    KeyHandler onKey_;
    QString session_;
};

}  // namespace corvane::app
