// The scenario commands. Each one reads and checks all its words before it changes anything.
#include <ostream>

#include "model/BrightnessPreset.h"
#include "platform/SystemEventStream.h"
#include "scenario/NewDisplayParser.h"
#include "scenario/ScenarioError.h"
#include "scenario/ScenarioRunner.h"
#include "scenario/StateDump.h"

namespace corvane::scenario {
namespace {

// The longest single `advance`: the poll alone fires every 0.4 s of it.
constexpr double kLongestAdvance = 3600;
constexpr std::int64_t kMostFailures = 1'000'000;

// A typed preference value; none stands for `delete`.
std::optional<PropertyValue> preferenceValue(const Token& token) {
    if (token.quoted) return PropertyValue(token.text);
    if (token.text == "delete") return std::nullopt;
    if (token.text == "true") return PropertyValue(true);
    if (token.text == "false") return PropertyValue(false);
    if (token.text == "other") return PropertyValue(PropertyValue::Other{});
    try {
        return PropertyValue(parseNumber(token.text, "preference value"));
    } catch (const ScenarioError&) {
        throw ScenarioError(
            "preference value must be true, false, other, delete, a number or a \"quoted "
            "string\", not " +
            quotedExcerpt(token.text));
    }
}

}  // namespace

void ScenarioRunner::add(Arguments& arguments) {
    sim::SimDisplayConfig display = parseNewDisplay(arguments);
    world_.desktop().add(std::move(display));
    world_.desktop().notifications().postScreenParametersChanged();
}

void ScenarioRunner::unplug(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    arguments.finish();
    world_.desktop().unplug(id);
    world_.desktop().notifications().postScreenParametersChanged();
}

void ScenarioRunner::plug(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    arguments.finish();
    world_.desktop().plug(id);
    world_.desktop().notifications().postScreenParametersChanged();
}

void ScenarioRunner::start(Arguments& arguments) {
    arguments.finish();
    world_.start();
}

// A full stroke of a brightness key: the press, then the release.
void ScenarioRunner::key(Arguments& arguments) {
    bool up = arguments.choice("key", {"down", "up"}) == 1;
    bool option = !arguments.atEnd() && arguments.choice("modifier", {"option"}) == 0;
    arguments.finish();
    int code = up ? sim::kBrightnessUpKeyCode : sim::kBrightnessDownKeyCode;
    std::uint64_t modifiers = option ? kOptionModifier : 0;
    for (sim::KeyState state : {sim::KeyState::pressed, sim::KeyState::released})
        world_.desktop().events().deliver(sim::auxButtonEvent(code, state, modifiers));
}

// A drag on the card's slider to `percent` of its width, then the release.
void ScenarioRunner::slide(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    double position = arguments.number("slider position");
    arguments.finish();
    constexpr double kTrackWidth = 100;
    card(id).slide(sliderValue(position, kTrackWidth));
    card(id).release();
}

void ScenarioRunner::minus(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    arguments.finish();
    card(id).minus();
}

void ScenarioRunner::plus(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    arguments.finish();
    card(id).plus();
}

void ScenarioRunner::preset(Arguments& arguments) {
    std::string name = arguments.word("preset");
    arguments.finish();
    std::optional<BrightnessPreset> chosen = brightnessPresetFromRawValue(name);
    if (!chosen)
        throw ScenarioError("preset must be one of sdr|nits1000|peak|restore, not " + quotedExcerpt(name));
    startedModel().applyPreset(*chosen);
}

void ScenarioRunner::set(Arguments& arguments) {
    auto setting = arguments.choice("setting", {"sync", "percent", "nits", "limit"});
    bool on = arguments.onOff("setting value");
    arguments.finish();
    AppModel& model = startedModel();
    using Setter = void (AppModel::*)(bool);
    static constexpr std::array<Setter, 4> kSetters{
        &AppModel::setSyncDisplays, &AppModel::setShowMenuPercent, &AppModel::setShowMenuNits,
        &AppModel::setLimitOnBattery};
    (model.*kSetters.at(setting))(on);
}

void ScenarioRunner::power(Arguments& arguments) {
    auto source = arguments.choice("power source", {"battery", "mains", "none"});
    arguments.finish();
    sim::SimPowerSources& power = world_.desktop().power();
    if (source == 2)
        power.setNoBattery();
    else
        power.setOnBattery(source == 0);
}

void ScenarioRunner::wake(Arguments& arguments) {
    arguments.finish();
    world_.desktop().notifications().postWake();
}

// The backlight as something outside the application moved it.
void ScenarioRunner::backlight(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    double level = arguments.number("backlight level");
    arguments.finish();
    if (!world_.desktop().display(id).config.backlight)
        throw ScenarioError("display " + std::to_string(id) + " has no backlight");
    world_.desktop().setBacklight(id, level);
}

void ScenarioRunner::ddcFail(Arguments& arguments) {
    DisplayID id = displayArgument(arguments);
    auto count = static_cast<int>(arguments.integer("transfer count", 0, kMostFailures));
    arguments.finish();
    const auto& monitor = world_.desktop().display(id).monitor;
    if (!monitor) throw ScenarioError("display " + std::to_string(id) + " has no DDC monitor");
    monitor->failNextTransfers(count);
}

void ScenarioRunner::pref(Arguments& arguments) {
    std::string key = arguments.word("preference key");
    std::optional<PropertyValue> value = preferenceValue(arguments.take("preference value"));
    arguments.finish();
    if (value)
        world_.desktop().preferences().set(key, std::move(*value));
    else
        world_.desktop().preferences().remove(key);
}

void ScenarioRunner::advance(Arguments& arguments) {
    double seconds = arguments.number("seconds");
    arguments.finish();
    if (seconds < 0 || seconds > kLongestAdvance)
        throw ScenarioError("seconds must be between 0 and " +
                            std::to_string(static_cast<int>(kLongestAdvance)));
    world_.desktop().loop().advance(Seconds(seconds));
}

void ScenarioRunner::dump(Arguments& arguments) {
    bool pretty = !arguments.atEnd() && arguments.choice("dump style", {"pretty"}) == 0;
    arguments.finish();
    startedModel();
    world_.settle();
    out_ << dumpState(world_).dump(pretty ? 2 : -1, ' ', false,
                                   nlohmann::ordered_json::error_handler_t::replace)
         << std::endl;
}

}  // namespace corvane::scenario
