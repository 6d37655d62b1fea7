#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QVariantMap>
#include <functional>
#include <optional>
#include <vector>

#include "model/DisplaySnapshot.h"

namespace corvane {
class AppModel;
}

namespace corvane::app {

// What the session-bus interface asks of the application's surfaces.
struct ShellActions {
    std::function<void()> showPopover;
    std::function<void()> closePopover;
    std::function<void()> quit;
};

// The published fields of one display as the session bus and `--list --json` carry them.
QVariantMap displayRecord(const DisplaySnapshot& display);

// The running application on the session bus: the object io.corvane.Display at
// /io/corvane/Display (its interface is resources/dbus/io.corvane.Display.xml). Each method
// calls the model's own commands; a refused one answers with an InvalidArgs error and changes
// nothing. Setting changes are announced with PropertiesChanged, changes of the published
// displays with DisplaysChanged. Main thread only; the model outlives the object.
class DisplayBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool SyncDisplays READ syncDisplays WRITE setSyncDisplays)
    Q_PROPERTY(bool ShowMenuPercent READ showMenuPercent WRITE setShowMenuPercent)
    Q_PROPERTY(bool ShowMenuNits READ showMenuNits WRITE setShowMenuNits)
    Q_PROPERTY(bool LimitOnBattery READ limitOnBattery WRITE setLimitOnBattery)
  public:
    static const QString kServiceName;
    static const QString kObjectPath;
    static const QString kInterface;

    DisplayBusService(AppModel& model, ShellActions actions);
    ~DisplayBusService() override;

    // Puts the object on `bus` (the service name is claimed separately); whether it could.
    bool exportOn(const QDBusConnection& bus);

    void Step(const QString& direction, bool fine);
    void SetLevel(const QString& uuid, double percent);
    void ApplyPreset(const QString& name);
    void ShowPopover();
    void ClosePopover();
    void Quit();
    QList<QVariantMap> ListDisplays() const;

    bool syncDisplays() const;
    bool showMenuPercent() const;
    bool showMenuNits() const;
    bool limitOnBattery() const;
    void setSyncDisplays(bool value);
    void setShowMenuPercent(bool value);
    void setShowMenuNits(bool value);
    void setLimitOnBattery(bool value);

  signals:
    void DisplaysChanged(const QList<QVariantMap>& displays);

  private:
    struct Settings {
        bool sync, percent, nits, battery;
        friend bool operator==(const Settings&, const Settings&) = default;
    };

    Settings currentSettings() const;
    void modelChanged();
    void announceSettings(const Settings& before, const Settings& after);
    // Answers the current call with an InvalidArgs error.
    void refuse(const std::string& message);

    AppModel& model_;
    ShellActions actions_;
    int observer_ = 0;
    std::optional<QDBusConnection> bus_;
    std::vector<DisplaySnapshot> announcedDisplays_;
    Settings announcedSettings_;
};

}  // namespace corvane::app
