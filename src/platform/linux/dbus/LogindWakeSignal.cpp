#include "platform/linux/dbus/LogindWakeSignal.h"

#include "platform/linux/dbus/Logind.h"

namespace corvane::linux_desktop {

LogindWakeSignal::LogindWakeSignal(QDBusConnection systemBus) {
    subscribed_ =
        systemBus.isConnected() &&
        systemBus.connect(logind::kService, logind::kManagerPath, logind::kManagerInterface,
                          QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

std::unique_ptr<NotificationObserver> LogindWakeSignal::observe(std::function<void()> handler) {
    return handlers_.add(std::move(handler));
}

void LogindWakeSignal::prepareForSleep(bool beforeSleep) {
    if (!beforeSleep) handlers_.notify();
}

}  // namespace corvane::linux_desktop
