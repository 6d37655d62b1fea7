#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace corvane {

// Event type of system-defined events, and the subtype that carries the auxiliary control
// buttons (brightness, volume, media keys).
inline constexpr std::uint32_t kSystemDefinedEventType = 14;
inline constexpr std::int16_t kAuxControlButtonsSubtype = 8;

// Event types a tap's callback receives instead of an event when the system has disabled the
// tap: because its callback was too slow, or by user input.
inline constexpr std::uint32_t kTapDisabledByTimeout = 0xFFFFFFFE;
inline constexpr std::uint32_t kTapDisabledByUserInput = 0xFFFFFFFF;

// Modifier flags of an event.
inline constexpr std::uint64_t kShiftModifier = 0x20000;
inline constexpr std::uint64_t kControlModifier = 0x40000;
inline constexpr std::uint64_t kOptionModifier = 0x80000;
inline constexpr std::uint64_t kCommandModifier = 0x100000;

// One event of the system's event stream in system-defined form. For the auxiliary control
// buttons, the low 32 bits of `data1` hold the key code in bits 16...31 and the key flags in
// bits 0...15.
struct SystemEvent {
    std::uint32_t type = 0;
    std::int16_t subtype = 0;
    std::int64_t data1 = 0;
    std::uint64_t modifierFlags = 0;
    friend bool operator==(const SystemEvent&, const SystemEvent&) = default;
};

// What a tap or an in-application monitor does with an event it was handed.
enum class EventDisposition { pass, swallow };

// An installed event tap. Dropping the handle removes the tap from the event stream.
class EventTap {
public:
    virtual ~EventTap() = default;
    virtual void setEnabled(bool enabled) = 0;
};

// Identifies an installed event monitor for its removal.
enum class EventMonitorToken : std::uint64_t {};

// The system's stream of system-defined events, at three depths: a tap where hardware events
// enter, which can remove an event before anything else sees it; a monitor inside this
// application, which can remove an event from the application; and a system-wide monitor,
// which only observes events going to other applications. Every callback runs on the main
// thread.
class SystemEventStream {
public:
    // Receives the event type (the event's own, or one of the tap-disabled notices) and the
    // event.
    using TapCallback = std::function<EventDisposition(std::uint32_t type, const SystemEvent&)>;
    using LocalMonitorHandler = std::function<EventDisposition(const SystemEvent&)>;
    using GlobalMonitorHandler = std::function<void(const SystemEvent&)>;

    virtual ~SystemEventStream() = default;

    // Installs an enabled tap at the head of the stream; null when the system refuses one.
    virtual std::unique_ptr<EventTap> installTap(TapCallback callback) = 0;
    virtual std::optional<EventMonitorToken> addLocalMonitor(LocalMonitorHandler handler) = 0;
    virtual std::optional<EventMonitorToken> addGlobalMonitor(GlobalMonitorHandler handler) = 0;
    // Removes a monitor of either kind; unknown tokens are ignored.
    virtual void removeMonitor(EventMonitorToken token) = 0;
};

}  // namespace corvane
