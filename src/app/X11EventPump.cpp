#include "app/X11EventPump.h"

namespace corvane::app {

X11EventPump::X11EventPump(bool connect) {
    if (!connect) return;
    stream_ = std::make_unique<linux_desktop::X11SystemEventStream>(std::string());
    if (!stream_->isConnected()) return;
    readable_ = std::make_unique<QSocketNotifier>(stream_->connectionFd(), QSocketNotifier::Read);
    QObject::connect(readable_.get(), &QSocketNotifier::activated, this,
                     [this] { stream_->processPendingEvents(); });
}

void X11EventPump::readSoon() {
    QMetaObject::invokeMethod(
        this, [this] { stream_->processPendingEvents(); }, Qt::QueuedConnection);
}

std::unique_ptr<EventTap> X11EventPump::installTap(TapCallback callback) {
    if (!isConnected()) return nullptr;
    std::unique_ptr<EventTap> tap = stream_->installTap(std::move(callback));
    if (tap) readSoon();
    return tap;
}

std::optional<EventMonitorToken> X11EventPump::addLocalMonitor(LocalMonitorHandler handler) {
    if (!isConnected()) return std::nullopt;
    std::optional<EventMonitorToken> token = stream_->addLocalMonitor(std::move(handler));
    if (token) readSoon();
    return token;
}

std::optional<EventMonitorToken> X11EventPump::addGlobalMonitor(GlobalMonitorHandler handler) {
    if (!isConnected()) return std::nullopt;
    std::optional<EventMonitorToken> token = stream_->addGlobalMonitor(std::move(handler));
    if (token) readSoon();
    return token;
}

void X11EventPump::removeMonitor(EventMonitorToken token) {
    if (stream_) stream_->removeMonitor(token);
}

}  // namespace corvane::app
