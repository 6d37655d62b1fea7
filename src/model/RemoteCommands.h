#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "input/BrightnessKey.h"
#include "model/AppModel.h"

namespace corvane {

// The model's commands as another process asks for them by name (the session-bus interface
// and the command line): each checks its arguments, then calls the same model operations the
// popover and the keys call. A refused request changes nothing and says why.
struct RemoteCommandError {
    std::string message;
};
using RemoteCommandResult = std::optional<RemoteCommandError>;

// "up" or "down".
std::optional<BrightnessKey> brightnessKeyFromName(std::string_view name);

// A brightness-key press, with the indicator and the hold that follow it.
RemoteCommandResult stepBrightness(AppModel& model, std::string_view direction, bool fine);
// Sets one display's level as the end of a slider drag does: applied, published, indicator.
// An empty UUID means the focus display.
RemoteCommandResult setLevel(AppModel& model, std::string_view uuid, double percent);
// One of the presets by its raw name ("sdr", "nits1000", "peak", "restore").
RemoteCommandResult applyPresetNamed(AppModel& model, std::string_view name);

}  // namespace corvane
