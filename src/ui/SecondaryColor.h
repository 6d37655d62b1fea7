#pragma once

#include <QLabel>
#include <QPalette>

#include "ui/Theme.h"

namespace corvane::ui {

// Sets `label`'s text in the secondary label colour of the current palette. Call it again when
// the palette changes.
inline void showInSecondaryColor(QLabel& label) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, theme::secondary());
    label.setPalette(palette);
}

}  // namespace corvane::ui
