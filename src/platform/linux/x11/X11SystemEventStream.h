#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/SystemEventStream.h"
#include "platform/linux/x11/X11Connection.h"

namespace corvane::linux_desktop {

// The brightness keys (XF86MonBrightnessUp and XF86MonBrightnessDown) of an X server as a
// stream of system-defined events.
//
// - The tap is a passive grab of those keys, with any modifiers (or, when another client
//   grabs some modifier combinations, with none but Caps and Num Lock), on the root window:
//   while an enabled tap exists the keys reach this client and no other. A grab the server
//   refuses because another client holds it means no tap: the desktop owns the keys and steps
//   the displays itself, so the monitors are not given them either (the model's poll adopts
//   the desktop's change). Which of the two is in effect is logged when it changes. The grab
//   follows keyboard mapping changes.
//   A grabbed key cannot be handed back, so a tap's "pass" for it has no effect; a disabled
//   tap releases the grab instead.
// - The monitors observe XInput 2.2 raw key events of those keys, which arrive whatever holds
//   a grab. While this application has the input focus they go to the in-application monitors,
//   otherwise to the system-wide ones. This application's own windows get their key events
//   through their toolkit's connection, so an in-application monitor's "swallow" has no effect.
//   Without XInput2 no monitor can be added.
//
// Nothing happens by itself: the application watches `connectionFd()` for readable data (a
// QSocketNotifier on QSocketNotifier::Read) and calls `processPendingEvents()` then, and once
// after installing a tap or monitor. Callbacks run inside processPendingEvents(). Main thread
// only; the stream outlives its taps.
class X11SystemEventStream final : public SystemEventStream {
  public:
    // Whether this application has the input focus.
    using FocusQuery = std::function<bool()>;

    // Uses its own connection to `displayName` ($DISPLAY when empty). Without a server every
    // tap is refused and no monitor is added.
    explicit X11SystemEventStream(const std::string& displayName);
    ~X11SystemEventStream() override;

    bool isConnected() const { return connection_ != nullptr; }
    // The connection's socket; -1 without a connection.
    int connectionFd() const;
    // Reads every event the server has sent and hands the brightness keys on.
    void processPendingEvents();
    // Replaces the focus test. By default the application has the focus when the X input
    // focus is in a window whose _NET_WM_PID is this process.
    void setFocusQuery(FocusQuery query) { focusQuery_ = std::move(query); }

    std::unique_ptr<EventTap> installTap(TapCallback callback) override;
    std::optional<EventMonitorToken> addLocalMonitor(LocalMonitorHandler handler) override;
    std::optional<EventMonitorToken> addGlobalMonitor(GlobalMonitorHandler handler) override;
    void removeMonitor(EventMonitorToken token) override;

  private:
    struct TapRecord {
        TapCallback callback;
        bool enabled = true;
    };
    class Tap;

    void removeTap(const std::shared_ptr<TapRecord>& record);
    bool updateGrabs();
    bool grabKeys(const std::vector<int>& keycodes, std::initializer_list<unsigned> modifierSets);
    void setKeysOwnedElsewhere(bool owned);
    void ungrab(const std::vector<int>& keycodes);
    void readKeyboardMapping();
    void readModifierMapping();
    unsigned heldModifiers() const;
    void updateRawKeySelection();
    bool applicationHasFocus() const;
    std::optional<int> auxKeyCodeOf(int keycode) const;
    void onGrabbedKey(int keycode, bool pressed, unsigned state);
    void onRawKey(int keycode, bool pressed, bool repeat);
    void onKeyboardMappingChanged();
    EventMonitorToken nextToken() { return EventMonitorToken{nextMonitorId_++}; }

    std::unique_ptr<X11Connection> connection_;
    int xinputOpcode_ = -1;  // -1 without XInput 2
    int xkbEventBase_ = -1;  // -1 without XKB
    FocusQuery focusQuery_;
    std::set<int> upKeycodes_;
    std::set<int> downKeycodes_;
    std::vector<std::shared_ptr<TapRecord>> taps_;
    std::vector<int> grabbed_;
    bool rawKeysSelected_ = false;
    bool keysOwnedElsewhere_ = false;  // another client's grab refused ours
    // The modifier bits each modifier key sets.
    std::map<int, unsigned> modifierMasks_;
    // Brightness keys held down through the grab, to tell an auto-repeat from a new press.
    std::set<int> grabbedDown_;
    // Every key held down as the raw events tell.
    std::set<int> rawHeld_;
    std::uint64_t nextMonitorId_ = 1;
    std::map<EventMonitorToken, LocalMonitorHandler> localMonitors_;
    std::map<EventMonitorToken, GlobalMonitorHandler> globalMonitors_;
};

}  // namespace corvane::linux_desktop
