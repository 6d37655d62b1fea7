#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace corvane::linux_desktop {

// One display whose brightness KDE Plasma's power daemon drives: its label, whether it is
// built in, and its level in Plasma's own units (0...maximum), as last reported or set.
// Main thread only.
class KdeDisplay {
  public:
    // Plasma's SetBrightness flag that keeps its own indicator from showing.
    static constexpr uint kSuppressIndicator = 1;

    KdeDisplay(QDBusConnection bus, QString path, QString label, bool internal, int brightness,
               int maxBrightness);

    const QString& path() const { return path_; }
    const QString& label() const { return label_; }
    bool isInternal() const { return internal_; }
    int brightness() const { return brightness_; }
    int maxBrightness() const { return max_; }
    // Sends SetBrightness(value, suppress indicator) without waiting for the answer, and takes
    // the value as the level from now on. A value the display already has is not sent again.
    void setBrightness(int value);
    // A change Plasma reported.
    void update(std::optional<int> brightness, std::optional<int> maxBrightness);

  private:
    QDBusConnection bus_;
    QString path_;
    QString label_;
    bool internal_;
    int brightness_;
    int max_;
};

// The org.kde.ScreenBrightness service of Plasma 6 on the session bus: the displays it
// drives, read when the service appears, and the changes it announces with PropertiesChanged.
// While it is there, the displays it lists are driven through it and nothing else writes
// their backlight or DDC/CI. Main thread only.
class KdeScreenBrightness : public QObject {
    Q_OBJECT
  public:
    static const QString kService;
    static const QString kRootPath;
    static const QString kRootInterface;
    static const QString kDisplayInterface;

    explicit KdeScreenBrightness(const QDBusConnection& bus);

    bool isPresent() const { return !displays_.empty(); }
    const std::vector<std::shared_ptr<KdeDisplay>>& displays() const { return displays_; }
    // Whether Plasma drives any external monitor.
    bool drivesMonitors() const;
    // The built-in panel Plasma drives, if any.
    std::shared_ptr<KdeDisplay> internalDisplay() const;
    // The one external display whose label names the monitor `productName` (its EDID name);
    // none when no label or more than one does.
    std::shared_ptr<KdeDisplay> externalDisplayNamed(std::string_view productName) const;

  private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated, const QDBusMessage& message);

  private:
    void reload();
    std::optional<QVariant> property(const QString& path, const QString& interface,
                                     const QString& name) const;

    QDBusConnection bus_;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    std::vector<std::shared_ptr<KdeDisplay>> displays_;
};

}  // namespace corvane::linux_desktop
