#include "platform/linux/dbus/KdeScreenBrightness.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusVariant>

#include "platform/Diagnostics.h"

namespace corvane::linux_desktop {

const QString KdeScreenBrightness::kService = QStringLiteral("org.kde.ScreenBrightness");
const QString KdeScreenBrightness::kRootPath = QStringLiteral("/org/kde/ScreenBrightness");
const QString KdeScreenBrightness::kRootInterface = QStringLiteral("org.kde.ScreenBrightness");
const QString KdeScreenBrightness::kDisplayInterface =
    QStringLiteral("org.kde.ScreenBrightness.Display");

namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
// Plasma answers at once; a hung daemon must not hold the interface for long.
constexpr int kCallTimeoutMs = 1000;

std::optional<int> intEntry(const QVariantMap& changed, const char* key) {
    auto it = changed.find(QLatin1String(key));
    if (it == changed.end()) return std::nullopt;
    bool ok = false;
    int value = it->toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString normalized(QString text) {
    return text.simplified().toCaseFolded();
}

}  // namespace

KdeDisplay::KdeDisplay(QDBusConnection bus, QString path, QString label, bool internal,
                       int brightness, int maxBrightness)
    : bus_(std::move(bus)),
      path_(std::move(path)),
      label_(std::move(label)),
      internal_(internal),
      brightness_(brightness),
      max_(maxBrightness) {}

void KdeDisplay::setBrightness(int value) {
    if (value == brightness_) return;
    brightness_ = value;
    QDBusMessage call = QDBusMessage::createMethodCall(
        KdeScreenBrightness::kService, path_, KdeScreenBrightness::kDisplayInterface,
        QStringLiteral("SetBrightness"));
    call << value << kSuppressIndicator;
    bus_.send(call);
}

void KdeDisplay::update(std::optional<int> brightness, std::optional<int> maxBrightness) {
    if (brightness) brightness_ = *brightness;
    if (maxBrightness) max_ = *maxBrightness;
}

KdeScreenBrightness::KdeScreenBrightness(const QDBusConnection& bus) : bus_(bus) {
    if (!bus_.isConnected()) return;
    watcher_ = std::make_unique<QDBusServiceWatcher>(
        kService, bus_,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    connect(watcher_.get(), &QDBusServiceWatcher::serviceRegistered, this,
            &KdeScreenBrightness::reload);
    connect(watcher_.get(), &QDBusServiceWatcher::serviceUnregistered, this,
            &KdeScreenBrightness::reload);
    bus_.connect(kService, QString(), kProperties, QStringLiteral("PropertiesChanged"), this,
                 SLOT(propertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    reload();
}

std::optional<QVariant> KdeScreenBrightness::property(const QString& path,
                                                      const QString& interface,
                                                      const QString& name) const {
    QDBusMessage get = QDBusMessage::createMethodCall(kService, path, kProperties,
                                                      QStringLiteral("Get"));
    get << interface << name;
    QDBusReply<QDBusVariant> reply = bus_.call(get, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) return std::nullopt;
    return reply.value().variant();
}

void KdeScreenBrightness::reload() {
    const bool wasPresent = isPresent();
    displays_.clear();
    if (bus_.interface() && bus_.interface()->isServiceRegistered(kService).value()) {
        const QStringList names =
            property(kRootPath, kRootInterface, QStringLiteral("DisplaysDBusNames"))
                .value_or(QVariant())
                .toStringList();
        for (const QString& name : names) {
            const QString path = kRootPath + QLatin1Char('/') + name;
            auto read = [&](const char* key) {
                return property(path, kDisplayInterface, QLatin1String(key));
            };
            std::optional<QVariant> brightness = read("Brightness");
            std::optional<QVariant> max = read("MaxBrightness");
            if (!brightness || !max || max->toInt() <= 0) continue;
            displays_.push_back(std::make_shared<KdeDisplay>(
                bus_, path, read("Label").value_or(QVariant()).toString(),
                read("IsInternal").value_or(false).toBool(), brightness->toInt(), max->toInt()));
        }
    }
    if (isPresent() != wasPresent)
        diagnose(DiagnosticTopic::displays, DiagnosticLevel::info,
                 isPresent() ? "KDE Plasma drives " + std::to_string(displays_.size()) +
                                   " display(s): their brightness goes through it"
                             : "KDE Plasma's brightness service is gone");
}

bool KdeScreenBrightness::drivesMonitors() const {
    for (const auto& display : displays_)
        if (!display->isInternal()) return true;
    return false;
}

std::shared_ptr<KdeDisplay> KdeScreenBrightness::internalDisplay() const {
    for (const auto& display : displays_)
        if (display->isInternal()) return display;
    return nullptr;
}

std::shared_ptr<KdeDisplay> KdeScreenBrightness::externalDisplayNamed(
    std::string_view productName) const {
    const QString wanted = normalized(QString::fromUtf8(productName.data(),
                                                        static_cast<qsizetype>(productName.size())));
    if (wanted.isEmpty()) return nullptr;
    std::shared_ptr<KdeDisplay> found;
    for (const auto& display : displays_) {
        if (display->isInternal()) continue;
        const QString label = normalized(display->label());
        if (label.isEmpty() || !(label.contains(wanted) || wanted.contains(label))) continue;
        if (found) return nullptr;  // two monitors fit: neither is certain
        found = display;
    }
    return found;
}

void KdeScreenBrightness::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                            const QStringList&, const QDBusMessage& message) {
    if (interface != kDisplayInterface) return;
    for (const auto& display : displays_)
        if (display->path() == message.path())
            display->update(intEntry(changed, "Brightness"), intEntry(changed, "MaxBrightness"));
}

}  // namespace corvane::linux_desktop
