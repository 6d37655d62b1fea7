#include "ui/StepButton.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/Faded.h"
#include "ui/SymbolBox.h"
#include "ui/SymbolIcons.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kCircleOpacity = 0.06;
constexpr double kSymbolPointSize = 11;

}  // namespace

StepButton::StepButton(std::string symbol, QWidget* parent)
    : PlainButton(parent), symbol_(std::move(symbol)) {
    setFixedSize(kDiameter, kDiameter);
}

void StepButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown()) painter.setOpacity(kPressedOpacity);
    QPainterPath circle;
    circle.addEllipse(QRectF(rect()));
    painter.fillPath(circle, faded(theme::primary(), kCircleOpacity));
    symbols::paint(painter, symbolBox(kSymbolPointSize, QRectF(rect()).center()), symbol_,
                   theme::secondary());
}

bool StepButton::hitButton(const QPoint& pos) const {
    const QPointF offset = QPointF(pos) - QRectF(rect()).center();
    return offset.x() * offset.x() + offset.y() * offset.y() <= kDiameter * kDiameter / 4.0;
}

}  // namespace corvane::ui
