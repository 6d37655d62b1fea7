#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "platform/SystemEventStream.h"
#include "platform/linux/x11/X11SystemEventStream.h"

namespace corvane::app {

// The X server's brightness keys on Qt's event loop: reads the stream's connection whenever
// it has data, and once on the next pass after a tap or monitor is installed, so that keys
// already waiting are handed on. Without an X server (or when told not to connect, in a
// Wayland session) taps are refused and no monitor is added. Main thread only.
class X11EventPump final : public QObject, public SystemEventStream {
    Q_OBJECT
  public:
    // Connects to $DISPLAY when `connect` is true.
    explicit X11EventPump(bool connect = true);

    bool isConnected() const { return stream_ && stream_->isConnected(); }

    std::unique_ptr<EventTap> installTap(TapCallback callback) override;
    std::optional<EventMonitorToken> addLocalMonitor(LocalMonitorHandler handler) override;
    std::optional<EventMonitorToken> addGlobalMonitor(GlobalMonitorHandler handler) override;
    void removeMonitor(EventMonitorToken token) override;

  private:
    void readSoon();

    std::unique_ptr<linux_desktop::X11SystemEventStream> stream_;
    std::unique_ptr<QSocketNotifier> readable_;
};

}  // namespace corvane::app
