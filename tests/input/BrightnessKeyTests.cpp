#include "input/BrightnessKey.h"

#include <gtest/gtest.h>

#include "platform/sim/SimSystemEventStream.h"

namespace corvane {
namespace {

using sim::auxButtonEvent;
using sim::KeyState;

constexpr int kUp = sim::kBrightnessUpKeyCode;
constexpr int kDown = sim::kBrightnessDownKeyCode;

SystemEvent withHighBits(SystemEvent event) {
    event.data1 |= static_cast<std::int64_t>(0xABCD'0001ULL << 32);
    return event;
}

TEST(BrightnessKeys, SystemCodeIsReadOnlyFromAuxControlButtons) {
    SystemEvent up = auxButtonEvent(kUp, KeyState::pressed);
    EXPECT_EQ(BrightnessKeys::systemCode(withHighBits(up)), 2);
    // Every bit of the low word set still gives an unsigned 16-bit code.
    EXPECT_EQ(BrightnessKeys::systemCode(SystemEvent{14, 8, -1, 0}), 0xFFFF);
    EXPECT_EQ(BrightnessKeys::systemCode(SystemEvent{14, 7, up.data1, 0}), std::nullopt);
    EXPECT_EQ(BrightnessKeys::systemCode(SystemEvent{10, 8, up.data1, 0}), std::nullopt);
}

TEST(BrightnessKeys, OnlyKeyCodesTwoAndThreeAreBrightnessEvents) {
    // Presses and releases of both keys are swallowed in the monitor tests; here the upper half.
    EXPECT_TRUE(BrightnessKeys::isBrightnessEvent(
        withHighBits(auxButtonEvent(kDown, KeyState::repeating))));
    for (int code : {0, 1, 4, 0x8002})
        EXPECT_FALSE(BrightnessKeys::isBrightnessEvent(auxButtonEvent(code, KeyState::pressed)))
            << "key code " << code;
    SystemEvent otherSubtype = auxButtonEvent(kUp, KeyState::pressed);
    otherSubtype.subtype = 7;
    EXPECT_FALSE(BrightnessKeys::isBrightnessEvent(otherSubtype));
}

TEST(BrightnessKeys, RepeatsGiveKeysAndOtherKeyStatesDoNot) {
    EXPECT_EQ(BrightnessKeys::from(withHighBits(auxButtonEvent(kUp, KeyState::repeating))),
              BrightnessKey::up);

    SystemEvent otherState = auxButtonEvent(kUp, KeyState::pressed);
    otherState.data1 ^= 0x0600;  // state 0x0C
    EXPECT_EQ(BrightnessKeys::from(otherState), std::nullopt);
}

}  // namespace
}  // namespace corvane
