#include "scenario/NewDisplayParser.h"

#include <map>

#include "scenario/ScenarioError.h"

namespace corvane::scenario {
namespace {

using sim::SimDisplayConfig;

enum class Kind { builtin, boost, ddc, gamma, none };

SimDisplayConfig kindDefaults(Kind kind, std::string name) {
    switch (kind) {
        case Kind::builtin: return SimDisplayConfig::builtinPanel(std::move(name));
        case Kind::boost: return SimDisplayConfig::boostPanel(std::move(name));
        case Kind::ddc: return SimDisplayConfig::ddcMonitor(std::move(name));
        case Kind::gamma: return SimDisplayConfig::gammaOnlyMonitor(std::move(name));
        case Kind::none: break;
    }
    return SimDisplayConfig::uncontrolledMonitor(std::move(name));
}

std::uint32_t uint32Of(std::string_view text, std::string_view key) {
    return static_cast<std::uint32_t>(parseInteger(text, key, 0, 0xFFFFFFFF));
}

std::uint16_t ddcValueOf(std::string_view text, std::string_view key) {
    return static_cast<std::uint16_t>(parseInteger(text, key, 0, 65535));
}

double positive(std::string_view text, std::string_view key) {
    double value = parseNumber(text, key);
    if (!(value > 0)) throw ScenarioError(std::string(key) + " must be above 0");
    return value;
}

void requireBacklight(Kind kind) {
    if (kind != Kind::builtin && kind != Kind::boost)
        throw ScenarioError("backlight applies only to builtin and boost displays");
}

void requireDDC(Kind kind, std::string_view key) {
    if (kind != Kind::ddc) throw ScenarioError(std::string(key) + " applies only to ddc displays");
}

using Setter = void (*)(SimDisplayConfig& display, Kind kind, std::string_view value);

// Every key=value setting an `add` line takes, and what it changes.
const std::map<std::string, Setter, std::less<>>& setters() {
    static const std::map<std::string, Setter, std::less<>> table{
        {"backlight", [](SimDisplayConfig& display, Kind kind, std::string_view value) {
            requireBacklight(kind);
            display.backlight = parseNumber(value, "backlight");
        }},
        {"current", [](SimDisplayConfig& display, Kind kind, std::string_view value) {
            requireDDC(kind, "current");
            display.ddc->current = ddcValueOf(value, "current");
        }},
        {"max", [](SimDisplayConfig& display, Kind kind, std::string_view value) {
            requireDDC(kind, "max");
            display.ddc->maximum = ddcValueOf(value, "max");
        }},
        {"vendor", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.vendor = uint32Of(value, "vendor");
        }},
        {"model", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.model = uint32Of(value, "model");
        }},
        {"serial", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.serial = uint32Of(value, "serial");
        }},
        {"uuid", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.uuid = std::string(value);
        }},
        {"length", [](SimDisplayConfig& display, Kind, std::string_view value) {
            if (value == "none") {
                display.gammaLength.reset();
                return;
            }
            display.gammaLength = static_cast<std::size_t>(parseInteger(value, "length", 0, 65536));
        }},
        {"width", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.size.width = positive(value, "width");
        }},
        {"height", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.size.height = positive(value, "height");
        }},
        {"scale", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.scale = positive(value, "scale");
        }},
        {"headroom", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.currentHeadroom = positive(value, "headroom");
        }},
        {"potential", [](SimDisplayConfig& display, Kind, std::string_view value) {
            display.potentialHeadroom = positive(value, "potential");
        }},
    };
    return table;
}

void applySetting(SimDisplayConfig& display, Kind kind, std::string_view setting) {
    if (setting == "main") {
        display.main = true;
        return;
    }
    std::size_t equals = setting.find('=');
    if (equals == std::string_view::npos)
        throw ScenarioError("expected key=value or main, not " + quotedExcerpt(setting));
    auto setter = setters().find(setting.substr(0, equals));
    if (setter == setters().end())
        throw ScenarioError("unknown display setting " + quotedExcerpt(setting.substr(0, equals)));
    setter->second(display, kind, setting.substr(equals + 1));
}

}  // namespace

SimDisplayConfig parseNewDisplay(Arguments& arguments) {
    auto kind = static_cast<Kind>(
        arguments.choice("display kind", {"builtin", "boost", "ddc", "gamma", "none"}));
    SimDisplayConfig display = kindDefaults(kind, arguments.word("display name"));
    while (!arguments.atEnd()) applySetting(display, kind, arguments.word("display setting"));
    return display;
}

}  // namespace corvane::scenario
