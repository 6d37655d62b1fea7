#include "platform/linux/dbus/LogindBacklightWriter.h"

#include <QDBusMessage>
#include <algorithm>
#include <limits>

#include "platform/linux/dbus/Logind.h"

namespace corvane::linux_desktop {

LogindBacklightWriter::LogindBacklightWriter(QDBusConnection systemBus, BacklightWriter& fallback,
                                             std::chrono::milliseconds timeout)
    : bus_(std::move(systemBus)), fallback_(fallback), timeout_(timeout) {}

bool LogindBacklightWriter::write(const BacklightDevice& device, std::uint64_t value) {
    return setThroughSession(device, value) || fallback_.write(device, value);
}

bool LogindBacklightWriter::setThroughSession(const BacklightDevice& device, std::uint64_t value) {
    if (!bus_.isConnected()) return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(logind::kService, logind::kCallerSession,
                                       logind::kSessionInterface, QStringLiteral("SetBrightness"));
    // The call takes a 32-bit level; backlight maxima are far below that.
    const auto level =
        static_cast<quint32>(std::min<std::uint64_t>(value, std::numeric_limits<quint32>::max()));
    call << QStringLiteral("backlight") << QString::fromStdString(device.name) << level;
    const QDBusMessage reply = bus_.call(call, QDBus::Block, static_cast<int>(timeout_.count()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace corvane::linux_desktop
