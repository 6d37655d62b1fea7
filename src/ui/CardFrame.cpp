#include "ui/CardFrame.h"

#include <QPainter>

#include "ui/Theme.h"

namespace corvane::ui {

void CardFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    theme::paintCard(painter, rect());
}

}  // namespace corvane::ui
