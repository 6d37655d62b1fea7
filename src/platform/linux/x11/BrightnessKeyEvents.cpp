#include "platform/linux/x11/BrightnessKeyEvents.h"

#include <X11/X.h>

namespace corvane::linux_desktop {
namespace {

constexpr std::int64_t kKeyDown = 0x0A;
constexpr std::int64_t kKeyUp = 0x0B;
constexpr std::int64_t kRepeatBit = 0x1;

}  // namespace

std::uint64_t modifierFlagsFromX(unsigned state) {
    std::uint64_t flags = 0;
    if (state & ShiftMask) flags |= kShiftModifier;
    if (state & ControlMask) flags |= kControlModifier;
    if (state & Mod1Mask) flags |= kOptionModifier;
    if (state & Mod4Mask) flags |= kCommandModifier;
    return flags;
}

SystemEvent brightnessKeyEvent(int auxKeyCode, KeyTransition transition, unsigned xState) {
    const std::int64_t keyState = transition == KeyTransition::released ? kKeyUp : kKeyDown;
    const std::int64_t repeat = transition == KeyTransition::repeating ? kRepeatBit : 0;
    SystemEvent event;
    event.type = kSystemDefinedEventType;
    event.subtype = kAuxControlButtonsSubtype;
    event.data1 = static_cast<std::int64_t>(auxKeyCode) << 16 | keyState << 8 | repeat;
    event.modifierFlags = modifierFlagsFromX(xState);
    return event;
}

}  // namespace corvane::linux_desktop
