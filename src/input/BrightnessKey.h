#pragma once

#include <cstdint>
#include <optional>

#include "platform/SystemEventStream.h"

namespace corvane {

enum class BrightnessKey { up, down };

// Reads brightness-key events out of the system's event stream.
struct BrightnessKeys {
    // The key code of an auxiliary-control-button event (0...65535); none for other events.
    static std::optional<std::int32_t> systemCode(const SystemEvent& event);
    // True for any event of the brightness keys, pressed or released.
    static bool isBrightnessEvent(const SystemEvent& event);
    // The key of a brightness-key press or auto-repeat; none for releases and other events.
    static std::optional<BrightnessKey> from(const SystemEvent& event);
};

}  // namespace corvane
