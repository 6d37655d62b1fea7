#pragma once

#include <cstdint>

#include "platform/SystemEventStream.h"

namespace corvane::linux_desktop {

// Key codes of the brightness keys among the auxiliary control buttons.
inline constexpr int kAuxBrightnessUp = 2;
inline constexpr int kAuxBrightnessDown = 3;

enum class KeyTransition { pressed, repeating, released };

// The event modifier flags for an X key event's modifier state: Shift, Control, Alt (Mod1) as
// Option and Super (Mod4) as Command; locks and other modifiers are dropped.
std::uint64_t modifierFlagsFromX(unsigned state);

// A brightness key's event in system-defined form: the key code in bits 16...31 of `data1`,
// the key state in bits 8...15 (0x0A pressed or repeating, 0x0B released) and the repeat bit
// 0x1 for an auto-repeat.
SystemEvent brightnessKeyEvent(int auxKeyCode, KeyTransition transition, unsigned xState);

}  // namespace corvane::linux_desktop
