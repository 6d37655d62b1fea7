#pragma once

#include <QIcon>
#include <QImage>

#include "app/MenuBarGlyph.h"

namespace corvane::app {

// The glyph drawn into a square of `size` pixels at `devicePixelRatio`. A tray item has no
// room beside its icon, so a readout sits under a smaller sun, its digits narrowed as much as
// needed to fit the width. Trays may be light or dark: the sun is drawn in the warm sun
// gradient, the readout in white on a dark capsule, both legible on either.
QImage paintGlyph(const GlyphContent& content, int size, double devicePixelRatio);
// The glyph as an icon drawn on demand, only at the sizes and pixel ratios the tray asks for.
QIcon glyphIcon(const GlyphContent& content);

}  // namespace corvane::app
