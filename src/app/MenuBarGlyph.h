#pragma once

#include <optional>
#include <string_view>

namespace corvane {
class AppModel;
}

namespace corvane::app {

// The five model values the tray item's glyph is drawn from.
struct GlyphInputs {
    int percent = 0;
    std::optional<int> nits;
    bool boosting = false;
    bool showPercent = false;
    bool showNits = false;

    static GlyphInputs from(const AppModel& model);
    friend bool operator==(const GlyphInputs&, const GlyphInputs&) = default;
};

// What the glyph shows: a sun symbol and, optionally, a number beside it.
struct GlyphContent {
    std::string_view symbol;
    std::optional<int> readout;

    friend bool operator==(const GlyphContent&, const GlyphContent&) = default;
};

inline constexpr std::string_view kOutlineSun = "sun.max";
inline constexpr std::string_view kFilledSun = "sun.max.fill";

// The filled sun while boosting, the outline sun otherwise. The readout is the nits when they
// are to be shown and known, otherwise the percent when that is to be shown, otherwise none.
GlyphContent glyphContent(const GlyphInputs& inputs);

}  // namespace corvane::app
