#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

#include "app/MenuBarGlyph.h"

class QPalette;

namespace corvane::app {

// The tray glyph's colours: the ink and a thin halo of the opposite lightness that keeps the
// glyph legible on panels of either kind.
struct GlyphColors {
    QColor ink;
    QColor halo;

    static GlyphColors from(const QPalette& palette);
    friend bool operator==(const GlyphColors&, const GlyphColors&) = default;
};

// The glyph drawn into a square of `size` pixels at `devicePixelRatio`. A tray item has no
// room beside its icon, so a readout sits under a smaller sun, its digits narrowed as much as
// needed to fit the width.
QImage paintGlyph(const GlyphContent& content, int size, double devicePixelRatio,
                  const GlyphColors& colors);
// The glyph at the sizes trays ask for, at 1x and 2x.
QIcon glyphIcon(const GlyphContent& content, const GlyphColors& colors);

}  // namespace corvane::app
