#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "input/BrightnessKey.h"
#include "platform/MainLoop.h"
#include "platform/SystemEventStream.h"

namespace corvane {

// Takes the brightness keys out of the system's event stream, so that the system neither
// changes the brightness itself nor shows its own indicator, and hands each press to `onKey`.
// Interception rests on a tap where hardware events enter, when the system grants one, plus
// an in-application and a system-wide monitor. The event stream and the main loop outlive
// the monitor.
class BrightnessKeyMonitor : public std::enable_shared_from_this<BrightnessKeyMonitor> {
public:
    // Receives the key and whether Option was held; always called on the main thread.
    using KeyHandler = std::function<void(BrightnessKey key, bool fine)>;

    static std::shared_ptr<BrightnessKeyMonitor> create(SystemEventStream& events, MainLoop& loop);
    ~BrightnessKeyMonitor();
    BrightnessKeyMonitor(const BrightnessKeyMonitor&) = delete;
    BrightnessKeyMonitor& operator=(const BrightnessKeyMonitor&) = delete;

    // Installs interception, undoing any earlier start first.
    void start();
    // Removes all interception; harmless when nothing is installed.
    void stop();

    // Set before start(); may be replaced at any time.
    KeyHandler onKey;

private:
    BrightnessKeyMonitor(SystemEventStream& events, MainLoop& loop);

    void installTap();
    EventDisposition tapped(std::uint32_t type, const SystemEvent& event);
    void dispatchIfNeeded(const SystemEvent& event);
    bool isBounce(std::uint64_t nowNanos) const;

    SystemEventStream& events_;
    MainLoop& loop_;
    std::unique_ptr<EventTap> tap_;
    std::optional<EventMonitorToken> local_;
    std::optional<EventMonitorToken> global_;
    // Monotonic time of the last accepted press; none before the first.
    std::optional<std::uint64_t> lastDispatchNanos_;
};

}  // namespace corvane
