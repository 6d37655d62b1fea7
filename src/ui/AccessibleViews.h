#pragma once

namespace corvane::ui {

// Makes the card slider known to assistive tools as a slider with its level (read and set)
// and the level's text, each display card as a group named after its display, the mini
// switches as check boxes with their state, and the popover's header as a button only while
// it has something to do. Safe to
// call any number of times; the first call registers the interfaces with Qt.
void installAccessibleViews();

}  // namespace corvane::ui
