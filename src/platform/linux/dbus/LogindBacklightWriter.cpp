#include "platform/linux/dbus/LogindBacklightWriter.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <algorithm>
#include <limits>

#include "platform/linux/dbus/Logind.h"

namespace corvane::linux_desktop {

LogindBacklightWriter::LogindBacklightWriter(QDBusConnection systemBus, BacklightWriter& fallback,
                                             std::chrono::milliseconds timeout)
    : bus_(std::move(systemBus)), fallback_(fallback), timeout_(timeout) {}

bool LogindBacklightWriter::write(const BacklightDevice& device, std::uint64_t value) {
    if (!bus_.isConnected()) return fallback_.write(device, value);
    Device& entry = devices_[device.name];
    entry.device = device;
    entry.latest = value;
    if (entry.inFlight)
        entry.waiting = true;
    else
        send(entry);
    return true;
}

void LogindBacklightWriter::send(Device& entry) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(logind::kService, logind::kCallerSession,
                                       logind::kSessionInterface, QStringLiteral("SetBrightness"));
    // The call takes a 32-bit level; backlight maxima are far below that.
    const auto level = static_cast<quint32>(
        std::min<std::uint64_t>(entry.latest, std::numeric_limits<quint32>::max()));
    call << QStringLiteral("backlight") << QString::fromStdString(entry.device.name) << level;
    entry.inFlight = true;
    entry.waiting = false;
    auto* watcher = new QDBusPendingCallWatcher(
        bus_.asyncCall(call, static_cast<int>(timeout_.count())), &calls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &calls_,
                     [this, name = entry.device.name, value = entry.latest](
                         QDBusPendingCallWatcher* done) {
                         done->deleteLater();
                         finished(name, value, done->isError());
                     });
}

void LogindBacklightWriter::finished(const std::string& name, std::uint64_t value, bool failed) {
    Device& entry = devices_[name];
    entry.inFlight = false;
    if (failed) {
        refusals_.failed("the login manager did not set " + name + "; writing sysfs instead");
        // A newer level is on its way; this one would only flicker.
        if (!entry.waiting) fallback_.write(entry.device, value);
    } else {
        refusals_.succeeded();
    }
    if (entry.waiting) send(entry);
}

}  // namespace corvane::linux_desktop
