#include "scenario/StateDump.h"

#include <cmath>
#include <string>

#include "model/ControlPath.h"

namespace corvane::scenario {
namespace {

using json = nlohmann::ordered_json;

template <typename T>
json optionalJson(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

json snapshotJson(const DisplaySnapshot& record) {
    return {{"id", record.id},
            {"uuid", record.uuid},
            {"name", record.name},
            {"isBuiltin", record.isBuiltin},
            {"isMain", record.isMain},
            {"supportsXDR", record.supportsXDR},
            {"path", rawValue(record.path)},
            {"percent", jsonNumber(record.percent)},
            {"estimatedNits", optionalJson(record.estimatedNits)},
            {"sdrNits", record.sdrNits},
            {"peakNits", record.peakNits},
            {"sdrPercent", jsonNumber(record.sdrPercent)}};
}

json levelsJson(const std::map<DisplayID, double>& levels) {
    json object = json::object();
    for (const auto& [id, level] : levels) object[std::to_string(id)] = jsonNumber(level);
    return object;
}

json holdJson(const AppModel& model, const TimePoint& start) {
    json until = nullptr;
    if (model.holdUntil() != TimePoint::min())
        until = jsonNumber(std::chrono::duration<double>(model.holdUntil() - start).count());
    return {{"running", model.isHolding()}, {"until", until}};
}

// The display whose screen holds the middle of the indicator's frame.
json hudDisplay(const ScreenCatalog& screens, const Rect& frame) {
    for (const Screen& screen : screens.screens()) {
        const Rect& area = screen.frame;
        if (frame.midX() >= area.minX() && frame.midX() < area.maxX() &&
            frame.y + frame.height / 2 >= area.minY() && frame.y + frame.height / 2 < area.maxY())
            return optionalJson(screen.number);
    }
    return nullptr;
}

json hudJson(sim::SimDesktop& desktop) {
    const auto& records = desktop.indicatorPanels().records();
    if (records.empty() || records.front()->contents.empty() || records.front()->frames.empty())
        return {{"shown", false},
                {"display", nullptr},
                {"percent", nullptr},
                {"nits", nullptr},
                {"frame", nullptr}};
    const sim::SimIndicatorPanelRecord& panel = *records.front();
    const Rect& frame = panel.frames.back();
    return {{"shown", panel.onScreen},
            {"display", hudDisplay(desktop.platform().screens, frame)},
            {"percent", panel.contents.back().percent},
            {"nits", optionalJson(panel.contents.back().nits)},
            {"frame",
             {{"x", jsonNumber(frame.x)},
              {"y", jsonNumber(frame.y)},
              {"width", jsonNumber(frame.width)},
              {"height", jsonNumber(frame.height)}}}};
}

json overlayJson(const sim::SimOverlayWindows& overlays, DisplayID id) {
    const sim::SimOverlayRecord* shown = overlays.shownOver(id);
    json factor = nullptr;
    if (shown && !shown->presentedFactors.empty())
        factor = jsonNumber(shown->presentedFactors.back());
    return {{"built", shown != nullptr}, {"factor", factor}};
}

json hardwareJson(sim::SimDesktop& desktop, const sim::SimDisplay& display) {
    json backlight = nullptr;
    if (display.config.backlight) backlight = jsonNumber(*display.config.backlight);
    json ddc = nullptr;
    if (display.monitor)
        ddc = {{"current", display.monitor->current()}, {"maximum", display.monitor->maximum()}};
    json gamma = nullptr;
    if (desktop.gamma().hasTable(display.id))
        gamma = jsonNumber(desktop.gamma().factor(display.id));
    return {{"id", display.id},
            {"name", display.config.name},
            {"online", display.online},
            {"backlight", backlight},
            {"ddc", ddc},
            {"gamma", gamma},
            {"overlay", overlayJson(desktop.overlays(), display.id)}};
}

// Values the system does not read (PropertyValue's "other") print as null.
json propertyJson(const PropertyValue& value) {
    if (const double* number = value.number()) return jsonNumber(*number);
    if (const bool* flag = value.boolean()) return *flag;
    if (const std::string* text = value.string()) return *text;
    if (const Dictionary* dictionary = value.dictionary()) {
        json object = json::object();
        for (const auto& [key, entry] : *dictionary) object[key] = propertyJson(entry);
        return object;
    }
    return nullptr;
}

json modelJson(const AppModel& model, const TimePoint& start) {
    json displays = json::array();
    for (const DisplaySnapshot& record : model.displays()) displays.push_back(snapshotJson(record));
    std::optional<DisplaySnapshot> focus = model.focusDisplay();
    return {{"displays", displays},
            {"intendedPercents", levelsJson(model.intendedPercents())},
            {"previousPercents", levelsJson(model.previousPercents())},
            {"focusDisplay", focus ? json(focus->id) : json(nullptr)},
            {"menuPercent", model.menuPercent()},
            {"menuNits", optionalJson(model.menuNits())},
            {"isBoosting", model.isBoosting()},
            {"isAtPeak", model.isAtPeak()},
            {"hasXDR", model.hasXDR()},
            {"syncDisplays", model.syncDisplays()},
            {"showMenuPercent", model.showMenuPercent()},
            {"showMenuNits", model.showMenuNits()},
            {"limitOnBattery", model.limitOnBattery()},
            {"launchAtLogin", model.launchAtLogin()},
            {"hold", holdJson(model, start)}};
}

}  // namespace

json jsonNumber(double value) {
    constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
    if (std::isfinite(value) && value == std::trunc(value) && std::abs(value) <= kExactIntegerLimit)
        return static_cast<std::int64_t>(value);
    return value;
}

json dumpState(ScenarioWorld& world) {
    sim::SimDesktop& desktop = world.desktop();
    json state = modelJson(*world.model(), TimePoint{});
    state["time"] = jsonNumber(world.seconds());
    state["hud"] = hudJson(desktop);
    json hardware = json::array();
    for (const sim::SimDisplay& display : desktop.allDisplays())
        hardware.push_back(hardwareJson(desktop, display));
    state["hardware"] = hardware;
    json preferences = json::object();
    for (const auto& [key, value] : desktop.preferences().all())
        preferences[key] = propertyJson(value);
    state["preferences"] = preferences;
    return state;
}

}  // namespace corvane::scenario
