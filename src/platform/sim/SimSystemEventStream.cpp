#include "platform/sim/SimSystemEventStream.h"

#include <algorithm>

namespace corvane::sim {
namespace {

constexpr std::int64_t kPressedFlags = 0x0A00;
constexpr std::int64_t kRepeatBit = 0x1;
constexpr std::int64_t kReleasedFlags = 0x0B00;

std::int64_t keyFlags(KeyState state) {
    switch (state) {
        case KeyState::pressed:
            return kPressedFlags;
        case KeyState::repeating:
            return kPressedFlags | kRepeatBit;
        case KeyState::released:
            return kReleasedFlags;
    }
    return 0;
}

}  // namespace

SystemEvent auxButtonEvent(int keyCode, KeyState state, std::uint64_t modifiers) {
    return SystemEvent{kSystemDefinedEventType, kAuxControlButtonsSubtype,
                       (static_cast<std::int64_t>(keyCode) << 16) | keyFlags(state), modifiers};
}

struct SimSystemEventStream::TapRecord {
    TapCallback callback;
    bool enabled = true;
    bool installed = true;
};

// Removes its tap when dropped; the record outlives the stream if need be.
class SimSystemEventStream::Tap final : public EventTap {
public:
    explicit Tap(std::shared_ptr<TapRecord> record) : record_(std::move(record)) {}
    ~Tap() override { record_->installed = false; }
    void setEnabled(bool enabled) override { record_->enabled = enabled; }

private:
    std::shared_ptr<TapRecord> record_;
};

SimSystemEventStream::SimSystemEventStream() = default;
SimSystemEventStream::~SimSystemEventStream() = default;

std::unique_ptr<EventTap> SimSystemEventStream::installTap(TapCallback callback) {
    if (refusesTaps_) return nullptr;
    std::erase_if(taps_, [](const auto& tap) { return !tap->installed; });
    auto record = std::make_shared<TapRecord>();
    record->callback = std::move(callback);
    taps_.push_back(record);
    return std::make_unique<Tap>(record);
}

std::optional<EventMonitorToken> SimSystemEventStream::addLocalMonitor(
    LocalMonitorHandler handler) {
    EventMonitorToken token = nextToken();
    localMonitors_[token] = std::move(handler);
    return token;
}

std::optional<EventMonitorToken> SimSystemEventStream::addGlobalMonitor(
    GlobalMonitorHandler handler) {
    EventMonitorToken token = nextToken();
    globalMonitors_[token] = std::move(handler);
    return token;
}

void SimSystemEventStream::removeMonitor(EventMonitorToken token) {
    localMonitors_.erase(token);
    globalMonitors_.erase(token);
}

bool SimSystemEventStream::deliver(const SystemEvent& event, Focus focus) {
    if (deliverToTaps(event) == EventDisposition::swallow) return false;
    if (focus == Focus::thisApplication) {
        if (deliverToLocalMonitors(event) == EventDisposition::swallow) return false;
    } else {
        deliverToGlobalMonitors(event);
    }
    reachedSystem_.push_back(event);
    return true;
}

// Handlers may add or remove taps and monitors while an event is on its way, so each delivery
// walks a snapshot and skips whatever was removed in the meantime.
EventDisposition SimSystemEventStream::deliverToTaps(const SystemEvent& event) {
    for (const auto& tap : installedTaps()) {
        if (!tap->installed || !tap->enabled) continue;
        TapCallback callback = tap->callback;
        if (callback(event.type, event) == EventDisposition::swallow)
            return EventDisposition::swallow;
    }
    return EventDisposition::pass;
}

EventDisposition SimSystemEventStream::deliverToLocalMonitors(const SystemEvent& event) {
    std::vector<EventMonitorToken> tokens;
    for (const auto& [token, handler] : localMonitors_) tokens.push_back(token);
    for (EventMonitorToken token : tokens) {
        auto found = localMonitors_.find(token);
        if (found == localMonitors_.end()) continue;
        LocalMonitorHandler handler = found->second;
        if (handler(event) == EventDisposition::swallow) return EventDisposition::swallow;
    }
    return EventDisposition::pass;
}

void SimSystemEventStream::deliverToGlobalMonitors(const SystemEvent& event) {
    std::vector<EventMonitorToken> tokens;
    for (const auto& [token, handler] : globalMonitors_) tokens.push_back(token);
    for (EventMonitorToken token : tokens) {
        auto found = globalMonitors_.find(token);
        if (found == globalMonitors_.end()) continue;
        GlobalMonitorHandler handler = found->second;
        handler(event);
    }
}

EventDisposition SimSystemEventStream::disableTaps(std::uint32_t notice) {
    EventDisposition result = EventDisposition::pass;
    for (const auto& tap : installedTaps()) {
        tap->enabled = false;
        TapCallback callback = tap->callback;
        if (callback(notice, SystemEvent{}) == EventDisposition::swallow)
            result = EventDisposition::swallow;
    }
    return result;
}

int SimSystemEventStream::tapCount() const {
    return static_cast<int>(installedTaps().size());
}

bool SimSystemEventStream::isTapEnabled() const {
    auto taps = installedTaps();
    return std::any_of(taps.begin(), taps.end(), [](const auto& tap) { return tap->enabled; });
}

std::vector<std::shared_ptr<SimSystemEventStream::TapRecord>> SimSystemEventStream::installedTaps()
    const {
    std::vector<std::shared_ptr<TapRecord>> installed;
    for (const auto& tap : taps_)
        if (tap->installed) installed.push_back(tap);
    return installed;
}

}  // namespace corvane::sim
