#include "model/RemoteCommands.h"

#include <cmath>

namespace corvane {
namespace {

RemoteCommandError refused(std::string message) {
    return RemoteCommandError{std::move(message)};
}

std::optional<DisplayID> displayWithUUID(const AppModel& model, std::string_view uuid) {
    for (const DisplaySnapshot& display : model.displays())
        if (display.uuid == uuid) return display.id;
    return std::nullopt;
}

}  // namespace

std::optional<BrightnessKey> brightnessKeyFromName(std::string_view name) {
    if (name == "up") return BrightnessKey::up;
    if (name == "down") return BrightnessKey::down;
    return std::nullopt;
}

RemoteCommandResult stepBrightness(AppModel& model, std::string_view direction, bool fine) {
    std::optional<BrightnessKey> key = brightnessKeyFromName(direction);
    if (!key) return refused("unknown direction \"" + std::string(direction) +
                             "\" (expected \"up\" or \"down\")");
    model.stepBrightness(*key, fine);
    return std::nullopt;
}

RemoteCommandResult setLevel(AppModel& model, std::string_view uuid, double percent) {
    if (!std::isfinite(percent)) return refused("the level must be a finite number");
    std::optional<DisplayID> id;
    if (uuid.empty()) {
        std::optional<DisplaySnapshot> focus = model.focusDisplay();
        if (!focus) return refused("there is no display");
        id = focus->id;
    } else {
        id = displayWithUUID(model, uuid);
        if (!id) return refused("no display has the UUID \"" + std::string(uuid) + "\"");
    }
    model.apply(percent, *id);
    model.publish();
    model.showHUD(*id);
    return std::nullopt;
}

RemoteCommandResult applyPresetNamed(AppModel& model, std::string_view name) {
    std::optional<BrightnessPreset> preset = brightnessPresetFromRawValue(name);
    if (!preset)
        return refused("unknown preset \"" + std::string(name) +
                       "\" (expected \"sdr\", \"nits1000\", \"peak\" or \"restore\")");
    model.applyPreset(*preset);
    return std::nullopt;
}

}  // namespace corvane
