#include "app/MenuBarGlyph.h"

#include "model/AppModel.h"

namespace corvane::app {

GlyphInputs GlyphInputs::from(const AppModel& model) {
    return GlyphInputs{model.menuPercent(), model.menuNits(), model.isBoosting(),
                       model.showMenuPercent(), model.showMenuNits()};
}

GlyphContent glyphContent(const GlyphInputs& inputs) {
    GlyphContent content{inputs.boosting ? kFilledSun : kOutlineSun, std::nullopt};
    if (inputs.showNits && inputs.nits)
        content.readout = inputs.nits;
    else if (inputs.showPercent)
        content.readout = inputs.percent;
    return content;
}

}  // namespace corvane::app
