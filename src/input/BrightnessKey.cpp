#include "input/BrightnessKey.h"

namespace corvane {
namespace {

// Only the low 32 bits of data1 carry the key; the upper half means nothing here.
constexpr std::uint64_t kKeyCodeMask = 0xFFFF0000;
// The key code with its lowest bit ignored: 0x20000 holds exactly for key codes 2 and 3.
constexpr std::uint64_t kBrightnessCodePairMask = 0xFFFE0000;
constexpr std::uint64_t kBrightnessCodePair = 0x20000;
// Bits 8...15 of the key flags are the key state; 0x0A is pressed, repeats included.
constexpr std::uint64_t kKeyStateMask = 0xFF00;
constexpr std::uint64_t kPressedState = 0x0A00;
constexpr std::int32_t kBrightnessUpCode = 2;

std::uint64_t bits(const SystemEvent& event) {
    return static_cast<std::uint64_t>(event.data1);
}

bool isAuxControlButton(const SystemEvent& event) {
    return event.type == kSystemDefinedEventType && event.subtype == kAuxControlButtonsSubtype;
}

}  // namespace

std::optional<std::int32_t> BrightnessKeys::systemCode(const SystemEvent& event) {
    if (!isAuxControlButton(event)) return std::nullopt;
    return static_cast<std::int32_t>((bits(event) & kKeyCodeMask) >> 16);
}

bool BrightnessKeys::isBrightnessEvent(const SystemEvent& event) {
    return isAuxControlButton(event) &&
           (bits(event) & kBrightnessCodePairMask) == kBrightnessCodePair;
}

std::optional<BrightnessKey> BrightnessKeys::from(const SystemEvent& event) {
    if (!isBrightnessEvent(event) || (bits(event) & kKeyStateMask) != kPressedState)
        return std::nullopt;
    return systemCode(event) == kBrightnessUpCode ? BrightnessKey::up : BrightnessKey::down;
}

}  // namespace corvane
