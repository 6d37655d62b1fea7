#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/SystemEventStream.h"

namespace corvane::sim {

// Key codes of the auxiliary control buttons as the keyboard sends them.
inline constexpr int kBrightnessUpKeyCode = 2;
inline constexpr int kBrightnessDownKeyCode = 3;

enum class KeyState { pressed, repeating, released };

// An auxiliary-control-button event: `keyCode` in `state` with `modifiers`.
SystemEvent auxButtonEvent(int keyCode, KeyState state, std::uint64_t modifiers = 0);

// Which application the system dispatches an event to when no tap removes it.
enum class Focus { thisApplication, otherApplication };

// An event stream that tests drive by hand. It routes injected events the way the system does
// and records what got through to the system, and which taps and monitors are installed.
class SimSystemEventStream final : public SystemEventStream {
public:
    SimSystemEventStream();
    ~SimSystemEventStream() override;

    std::unique_ptr<EventTap> installTap(TapCallback callback) override;
    std::optional<EventMonitorToken> addLocalMonitor(LocalMonitorHandler handler) override;
    std::optional<EventMonitorToken> addGlobalMonitor(GlobalMonitorHandler handler) override;
    void removeMonitor(EventMonitorToken token) override;

    // Whether the system refuses further taps (as without input-monitoring permission).
    void setRefusesTaps(bool refuses) { refusesTaps_ = refuses; }

    // Routes an event: through the enabled taps, then to this application's monitors when it
    // has focus or the system-wide monitors otherwise. An event nobody removed reaches the
    // system; returns whether it did.
    bool deliver(const SystemEvent& event, Focus focus = Focus::otherApplication);
    // The single legs of the route, for events that reach one place only.
    EventDisposition deliverToTaps(const SystemEvent& event);
    EventDisposition deliverToLocalMonitors(const SystemEvent& event);
    void deliverToGlobalMonitors(const SystemEvent& event);
    // Disables every tap as the system does and hands each the `notice` (one of the
    // tap-disabled types). Returns swallow when any tap swallowed the notice.
    EventDisposition disableTaps(std::uint32_t notice);

    // Every event that reached the system, in order.
    const std::vector<SystemEvent>& reachedSystem() const { return reachedSystem_; }
    int tapCount() const;
    // Whether an installed tap is enabled.
    bool isTapEnabled() const;
    int localMonitorCount() const { return static_cast<int>(localMonitors_.size()); }
    int globalMonitorCount() const { return static_cast<int>(globalMonitors_.size()); }

private:
    struct TapRecord;
    class Tap;

    std::vector<std::shared_ptr<TapRecord>> installedTaps() const;
    EventMonitorToken nextToken() { return EventMonitorToken{nextMonitorId_++}; }

    bool refusesTaps_ = false;
    std::vector<std::shared_ptr<TapRecord>> taps_;
    std::uint64_t nextMonitorId_ = 1;
    std::map<EventMonitorToken, LocalMonitorHandler> localMonitors_;
    std::map<EventMonitorToken, GlobalMonitorHandler> globalMonitors_;
    std::vector<SystemEvent> reachedSystem_;
};

}  // namespace corvane::sim
