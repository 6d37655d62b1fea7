#include "app/X11EventPump.h"

namespace corvane::app {

X11EventPump::X11EventPump() : stream_(std::string()) {
    if (!stream_.isConnected()) return;
    readable_ = std::make_unique<QSocketNotifier>(stream_.connectionFd(), QSocketNotifier::Read);
    connect(readable_.get(), &QSocketNotifier::activated, this,
            [this] { stream_.processPendingEvents(); });
}

void X11EventPump::readSoon() {
    if (!stream_.isConnected()) return;
    QMetaObject::invokeMethod(
        this, [this] { stream_.processPendingEvents(); }, Qt::QueuedConnection);
}

std::unique_ptr<EventTap> X11EventPump::installTap(TapCallback callback) {
    std::unique_ptr<EventTap> tap = stream_.installTap(std::move(callback));
    if (tap) readSoon();
    return tap;
}

std::optional<EventMonitorToken> X11EventPump::addLocalMonitor(LocalMonitorHandler handler) {
    std::optional<EventMonitorToken> token = stream_.addLocalMonitor(std::move(handler));
    if (token) readSoon();
    return token;
}

std::optional<EventMonitorToken> X11EventPump::addGlobalMonitor(GlobalMonitorHandler handler) {
    std::optional<EventMonitorToken> token = stream_.addGlobalMonitor(std::move(handler));
    if (token) readSoon();
    return token;
}

void X11EventPump::removeMonitor(EventMonitorToken token) {
    stream_.removeMonitor(token);
}

}  // namespace corvane::app
