#include "platform/linux/x11/X11SystemEventStream.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Diagnostics.h"
#include "platform/linux/x11/BrightnessKeyEvents.h"
#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

int xinput2Opcode(Display* display) {
    int opcode = 0, eventBase = 0, errorBase = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &eventBase, &errorBase)) return -1;
    // Raw events of XInput 2.1 and later arrive whatever client holds a grab.
    int major = 2, minor = 2;
    return XIQueryVersion(display, &major, &minor) == Success ? opcode : -1;
}

std::optional<unsigned long> windowPid(Display* display, Window window) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> pid;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return pid;
}

// Whether the input focus is in a window of this process: the focus window or one of its
// ancestors carries this process's _NET_WM_PID.
bool focusIsInThisProcess(Display* display) {
    X11ErrorTrap trap(display);
    Window window = None;
    int revertTo = 0;
    XGetInputFocus(display, &window, &revertTo);
    const Window root = DefaultRootWindow(display);
    const auto self = static_cast<unsigned long>(getpid());
    while (window != None && window != PointerRoot && window != root) {
        if (windowPid(display, window) == self) return !trap.failed();
        Window rootReturn = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &rootReturn, &parent, &children, &count)) return false;
        if (children) XFree(children);
        window = parent;
    }
    return false;
}

}  // namespace

class X11SystemEventStream::Tap final : public EventTap {
  public:
    Tap(X11SystemEventStream& stream, std::shared_ptr<TapRecord> record)
        : stream_(stream), record_(std::move(record)) {}
    ~Tap() override { stream_.removeTap(record_); }

    void setEnabled(bool enabled) override {
        record_->enabled = enabled;
        stream_.updateGrabs();
    }

  private:
    X11SystemEventStream& stream_;
    std::shared_ptr<TapRecord> record_;
};

X11SystemEventStream::X11SystemEventStream(const std::string& displayName)
    : connection_(X11Connection::open(displayName)) {
    if (!connection_) return;
    Display* display = connection_->display();
    xinputOpcode_ = xinput2Opcode(display);
    // A held key then repeats its press alone, without a release before each repeat.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    // A client that uses XKB hears of keyboard mapping changes through XKB's events only.
    int opcode = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (XkbQueryExtension(display, &opcode, &xkbEventBase_, &errorBase, &major, &minor))
        XkbSelectEvents(display, XkbUseCoreKbd, XkbMapNotifyMask | XkbNewKeyboardNotifyMask,
                        XkbMapNotifyMask | XkbNewKeyboardNotifyMask);
    else
        xkbEventBase_ = -1;
    focusQuery_ = [display] { return focusIsInThisProcess(display); };
    readKeyboardMapping();
}

X11SystemEventStream::~X11SystemEventStream() {
    if (!connection_) return;
    ungrab(grabbed_);
}

int X11SystemEventStream::connectionFd() const {
    return connection_ ? connection_->fd() : -1;
}

void X11SystemEventStream::readKeyboardMapping() {
    readModifierMapping();
    Display* display = connection_->display();
    int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode),
                                          maxKeycode - minKeycode + 1, &perKeycode);
    upKeycodes_.clear();
    downKeycodes_.clear();
    if (!keysyms) return;
    for (int keycode = minKeycode; keycode <= maxKeycode; ++keycode) {
        const KeySym* row = keysyms + (keycode - minKeycode) * perKeycode;
        for (int i = 0; i < perKeycode; ++i) {
            if (row[i] == XF86XK_MonBrightnessUp) upKeycodes_.insert(keycode);
            if (row[i] == XF86XK_MonBrightnessDown) downKeycodes_.insert(keycode);
        }
    }
    XFree(keysyms);
}

void X11SystemEventStream::readModifierMapping() {
    modifierMasks_.clear();
    XModifierKeymap* modifiers = XGetModifierMapping(connection_->display());
    if (!modifiers) return;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < modifiers->max_keypermod; ++i) {
            const KeyCode keycode = modifiers->modifiermap[modifier * modifiers->max_keypermod + i];
            if (keycode != 0) modifierMasks_[keycode] |= 1u << modifier;
        }
    }
    XFreeModifiermap(modifiers);
}

std::optional<int> X11SystemEventStream::auxKeyCodeOf(int keycode) const {
    if (upKeycodes_.contains(keycode)) return kAuxBrightnessUp;
    if (downKeycodes_.contains(keycode)) return kAuxBrightnessDown;
    return std::nullopt;
}

void X11SystemEventStream::ungrab(const std::vector<int>& keycodes) {
    Display* display = connection_->display();
    for (int keycode : keycodes)
        XUngrabKey(display, keycode, AnyModifier, DefaultRootWindow(display));
    // Other clients may take the keys from now on.
    XFlush(display);
}

// Grabs the brightness keys while an enabled tap exists and releases them otherwise; false
// when the server refused a grab, which then holds none of the keys.
bool X11SystemEventStream::updateGrabs() {
    const bool wanted =
        std::any_of(taps_.begin(), taps_.end(), [](const auto& record) { return record->enabled; });
    std::vector<int> keycodes;
    if (wanted) {
        keycodes.assign(upKeycodes_.begin(), upKeycodes_.end());
        keycodes.insert(keycodes.end(), downKeycodes_.begin(), downKeycodes_.end());
    }
    if (keycodes == grabbed_) return true;
    ungrab(grabbed_);
    grabbed_.clear();
    grabbedDown_.clear();
    if (keycodes.empty()) return true;
    // A desktop that grabs the keys with some modifiers only leaves the plain keys free.
    const bool grabbed = grabKeys(keycodes, {AnyModifier}) ||
                         grabKeys(keycodes, {0, LockMask, Mod2Mask, LockMask | Mod2Mask});
    setKeysOwnedElsewhere(!grabbed);
    if (!grabbed) return false;
    grabbed_ = std::move(keycodes);
    return true;
}

// Grabs the keys with each of the modifier sets; none of them when the server refuses one.
bool X11SystemEventStream::grabKeys(const std::vector<int>& keycodes,
                                    std::initializer_list<unsigned> modifierSets) {
    Display* display = connection_->display();
    X11ErrorTrap trap(display);
    for (int keycode : keycodes)
        for (unsigned modifiers : modifierSets)
            XGrabKey(display, keycode, modifiers, DefaultRootWindow(display), False,
                     GrabModeAsync, GrabModeAsync);
    if (!trap.failed()) return true;
    ungrab(keycodes);
    return false;
}

void X11SystemEventStream::setKeysOwnedElsewhere(bool owned) {
    if (owned == keysOwnedElsewhere_) return;
    keysOwnedElsewhere_ = owned;
    diagnose(DiagnosticTopic::keys, DiagnosticLevel::info,
             owned ? "brightness keys: held by the desktop, which steps the displays itself; "
                     "key presses are left to it"
                   : "brightness keys: grabbed by this application");
}

std::unique_ptr<EventTap> X11SystemEventStream::installTap(TapCallback callback) {
    if (!connection_) return nullptr;
    auto record = std::make_shared<TapRecord>(TapRecord{std::move(callback), true});
    taps_.push_back(record);
    if (!updateGrabs()) {
        taps_.pop_back();
        return nullptr;
    }
    return std::make_unique<Tap>(*this, std::move(record));
}

void X11SystemEventStream::removeTap(const std::shared_ptr<TapRecord>& record) {
    std::erase(taps_, record);
    updateGrabs();
}

void X11SystemEventStream::updateRawKeySelection() {
    const bool wanted = !localMonitors_.empty() || !globalMonitors_.empty();
    if (wanted == rawKeysSelected_) return;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (wanted) {
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
    }
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    Display* display = connection_->display();
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // Keys released while unselected would otherwise stay held.
    rawHeld_.clear();
    XFlush(display);
    rawKeysSelected_ = wanted;
}

std::optional<EventMonitorToken> X11SystemEventStream::addLocalMonitor(
    LocalMonitorHandler handler) {
    if (xinputOpcode_ < 0) return std::nullopt;
    const EventMonitorToken token = nextToken();
    localMonitors_.emplace(token, std::move(handler));
    updateRawKeySelection();
    return token;
}

std::optional<EventMonitorToken> X11SystemEventStream::addGlobalMonitor(
    GlobalMonitorHandler handler) {
    if (xinputOpcode_ < 0) return std::nullopt;
    const EventMonitorToken token = nextToken();
    globalMonitors_.emplace(token, std::move(handler));
    updateRawKeySelection();
    return token;
}

void X11SystemEventStream::removeMonitor(EventMonitorToken token) {
    localMonitors_.erase(token);
    globalMonitors_.erase(token);
    if (xinputOpcode_ >= 0) updateRawKeySelection();
}

bool X11SystemEventStream::applicationHasFocus() const {
    return focusQuery_ && focusQuery_();
}

void X11SystemEventStream::onGrabbedKey(int keycode, bool pressed, unsigned state) {
    const std::optional<int> aux = auxKeyCodeOf(keycode);
    if (!aux) return;
    KeyTransition transition = KeyTransition::released;
    if (pressed)
        transition =
            grabbedDown_.insert(keycode).second ? KeyTransition::pressed : KeyTransition::repeating;
    else
        grabbedDown_.erase(keycode);
    const SystemEvent event = brightnessKeyEvent(*aux, transition, state);
    // Copies, as a callback may remove taps.
    const std::vector<std::shared_ptr<TapRecord>> taps = taps_;
    for (const auto& tap : taps)
        if (tap->enabled && tap->callback) tap->callback(event.type, event);
}

void X11SystemEventStream::onRawKey(int keycode, bool pressed, bool repeat) {
    const bool wasHeld = rawHeld_.contains(keycode);
    if (pressed)
        rawHeld_.insert(keycode);
    else
        rawHeld_.erase(keycode);
    const std::optional<int> aux = auxKeyCodeOf(keycode);
    // The desktop that holds the keys steps the displays; a second step here would double it.
    if (!aux || keysOwnedElsewhere_) return;
    KeyTransition transition = KeyTransition::released;
    if (pressed) transition = wasHeld || repeat ? KeyTransition::repeating : KeyTransition::pressed;
    const SystemEvent event = brightnessKeyEvent(*aux, transition, heldModifiers());
    // Copies, as a handler may remove monitors.
    if (applicationHasFocus()) {
        const auto handlers = localMonitors_;
        for (const auto& [token, handler] : handlers) handler(event);
    } else {
        const auto handlers = globalMonitors_;
        for (const auto& [token, handler] : handlers) handler(event);
    }
}

// Raw events carry no modifier state; it follows from the modifier keys held.
unsigned X11SystemEventStream::heldModifiers() const {
    unsigned state = 0;
    for (int keycode : rawHeld_)
        if (auto it = modifierMasks_.find(keycode); it != modifierMasks_.end()) state |= it->second;
    return state;
}

void X11SystemEventStream::onKeyboardMappingChanged() {
    readKeyboardMapping();
    updateGrabs();
}

void X11SystemEventStream::processPendingEvents() {
    if (!connection_) return;
    Display* display = connection_->display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case KeyPress:
            case KeyRelease:
                onGrabbedKey(static_cast<int>(event.xkey.keycode), event.type == KeyPress,
                             event.xkey.state);
                break;
            case MappingNotify:
                XRefreshKeyboardMapping(&event.xmapping);
                if (event.xmapping.request != MappingPointer) onKeyboardMappingChanged();
                break;
            case GenericEvent:
                if (event.xcookie.extension != xinputOpcode_ ||
                    !XGetEventData(display, &event.xcookie))
                    break;
                if (event.xcookie.evtype == XI_RawKeyPress ||
                    event.xcookie.evtype == XI_RawKeyRelease) {
                    const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
                    onRawKey(raw->detail, event.xcookie.evtype == XI_RawKeyPress,
                             (raw->flags & XIKeyRepeat) != 0);
                }
                XFreeEventData(display, &event.xcookie);
                break;
            default:
                if (event.type == xkbEventBase_) {
                    const int kind = reinterpret_cast<XkbEvent*>(&event)->any.xkb_type;
                    if (kind == XkbMapNotify || kind == XkbNewKeyboardNotify)
                        onKeyboardMappingChanged();
                }
                break;
        }
    }
}

}  // namespace corvane::linux_desktop
