#include "scenario/DisplaySpecParser.h"

#include <functional>
#include <map>

#include "scenario/ScenarioError.h"

namespace corvane::scenario {
namespace {

using sim::SimDisplaySpec;

enum class Kind { builtin, boost, ddc, gamma, none };

SimDisplaySpec factorySpec(Kind kind, std::string name) {
    switch (kind) {
        case Kind::builtin: return SimDisplaySpec::builtinPanel(std::move(name));
        case Kind::boost: return SimDisplaySpec::boostPanel(std::move(name));
        case Kind::ddc: return SimDisplaySpec::ddcMonitor(std::move(name));
        case Kind::gamma: return SimDisplaySpec::gammaOnlyMonitor(std::move(name));
        case Kind::none: break;
    }
    return SimDisplaySpec::uncontrolledMonitor(std::move(name));
}

std::uint32_t uint32Of(std::string_view text, std::string_view key) {
    return static_cast<std::uint32_t>(parseInteger(text, key, 0, 0xFFFFFFFF));
}

double positive(std::string_view text, std::string_view key) {
    double value = parseNumber(text, key);
    if (!(value > 0)) throw ScenarioError(std::string(key) + " must be above 0");
    return value;
}

void requireKind(bool allowed, std::string_view key, std::string_view kinds) {
    if (!allowed)
        throw ScenarioError(std::string(key) + " applies only to " + std::string(kinds));
}

using Setter = std::function<void(SimDisplaySpec&, Kind, std::string_view value)>;

// Every key=value setting an `add` line takes, and what it changes.
const std::map<std::string, Setter, std::less<>>& setters() {
    static const std::map<std::string, Setter, std::less<>> table{
        {"backlight",
         [](SimDisplaySpec& spec, Kind kind, std::string_view value) {
             requireKind(kind == Kind::builtin || kind == Kind::boost, "backlight",
                         "builtin and boost displays");
             spec.backlight = parseNumber(value, "backlight");
         }},
        {"current",
         [](SimDisplaySpec& spec, Kind kind, std::string_view value) {
             requireKind(kind == Kind::ddc, "current", "ddc displays");
             spec.ddc->current = static_cast<std::uint16_t>(parseInteger(value, "current", 0, 65535));
         }},
        {"max",
         [](SimDisplaySpec& spec, Kind kind, std::string_view value) {
             requireKind(kind == Kind::ddc, "max", "ddc displays");
             spec.ddc->maximum = static_cast<std::uint16_t>(parseInteger(value, "max", 0, 65535));
         }},
        {"vendor", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.vendor = uint32Of(value, "vendor");
         }},
        {"model", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.model = uint32Of(value, "model");
         }},
        {"serial", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.serial = uint32Of(value, "serial");
         }},
        {"uuid", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.uuid = std::string(value);
         }},
        {"length",
         [](SimDisplaySpec& spec, Kind, std::string_view value) {
             if (value == "none")
                 spec.gammaLength.reset();
             else
                 spec.gammaLength = static_cast<std::size_t>(parseInteger(value, "length", 0, 65536));
         }},
        {"width", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.size.width = positive(value, "width");
         }},
        {"height", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.size.height = positive(value, "height");
         }},
        {"scale", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.scale = positive(value, "scale");
         }},
        {"headroom", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.currentHeadroom = positive(value, "headroom");
         }},
        {"potential", [](SimDisplaySpec& spec, Kind, std::string_view value) {
             spec.potentialHeadroom = positive(value, "potential");
         }},
    };
    return table;
}

void applySetting(SimDisplaySpec& spec, Kind kind, const std::string& setting) {
    if (setting == "main") {
        spec.main = true;
        return;
    }
    std::size_t equals = setting.find('=');
    if (equals == std::string::npos)
        throw ScenarioError("expected key=value or main, not '" + setting + "'");
    std::string_view key = std::string_view(setting).substr(0, equals);
    auto setter = setters().find(key);
    if (setter == setters().end())
        throw ScenarioError("unknown display setting '" + std::string(key) + "'");
    setter->second(spec, kind, std::string_view(setting).substr(equals + 1));
}

}  // namespace

SimDisplaySpec parseDisplaySpec(Arguments& arguments) {
    auto kind = static_cast<Kind>(
        arguments.choice("display kind", {"builtin", "boost", "ddc", "gamma", "none"}));
    SimDisplaySpec spec = factorySpec(kind, arguments.word("display name"));
    while (!arguments.atEnd()) applySetting(spec, kind, arguments.word("display setting"));
    return spec;
}

}  // namespace corvane::scenario
