#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "support/PrivateSessionBus.h"

namespace corvane::testing {

// python3-dbusmock serving KDE Plasma's org.kde.ScreenBrightness on a private bus: the root
// object with its list of displays, and display objects that accept SetBrightness.
class PlasmaBrightnessMock {
  public:
    static const QString kService;
    static const QString kRootPath;

    ~PlasmaBrightnessMock() { stop(); }

    // Starts the mock on `bus`; `connection` is the test's own connection to it.
    bool start(const PrivateSessionBus& bus, const QDBusConnection& connection);
    void stop() { stopProcess(process_); }

    // A display object /org/kde/ScreenBrightness/<name>; the list names the displays shown.
    bool addDisplay(const QString& name, int brightness, int max, bool internal,
                    const QString& label);
    bool listDisplays(const QStringList& names);
    // Changes a display's properties as Plasma does, with PropertiesChanged.
    bool update(const QString& name, const QVariantMap& properties);
    // The arguments of each SetBrightness the display received.
    QList<QVariantList> setCalls(const QString& name);

    static QString path(const QString& name) { return kRootPath + QLatin1Char('/') + name; }

  private:
    QDBusMessage call(const QString& path, const char* method, const QVariantList& arguments);

    QProcess process_;
    QDBusConnection connection_{QString()};
    bool listed_ = false;
};

}  // namespace corvane::testing
