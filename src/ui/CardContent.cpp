#include "ui/CardContent.h"

#include "model/Rounding.h"

namespace corvane::ui {
namespace {

std::string_view controlPathKey(ControlPath path) {
    switch (path) {
        case ControlPath::hardware:
            return "method.hardware";
        case ControlPath::ddc:
            return "method.ddc";
        case ControlPath::software:
            return "method.software";
        case ControlPath::unavailable:
            return "method.unavailable";
    }
    return "method.unavailable";
}

std::optional<long long> liveNits(const DisplaySnapshot& display) {
    if (!display.supportsXDR || !display.estimatedNits) return std::nullopt;
    return *display.estimatedNits;
}

}  // namespace

TextKey cardStatusLine(const DisplaySnapshot& display) {
    if (auto nits = liveNits(display)) return {"status.xdr %lld", nits};
    return {controlPathKey(display.path), std::nullopt};
}

TextKey cardPercentText(const DisplaySnapshot& display) {
    return {"%lld%", roundedHalfAwayFromZero(display.percent)};
}

std::optional<TextKey> cardNitsLine(const DisplaySnapshot& display) {
    if (auto nits = liveNits(display)) return TextKey{"%lld", nits};
    return std::nullopt;
}

std::optional<double> cardSliderMarker(const DisplaySnapshot& display) {
    if (!display.supportsXDR) return std::nullopt;
    return display.sdrPercent;
}

}  // namespace corvane::ui
