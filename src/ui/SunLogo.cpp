#include "ui/SunLogo.h"

#include <QGraphicsDropShadowEffect>
#include <QPainter>

#include "ui/SymbolIcons.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kDiameter = 36;
constexpr double kSymbolPointSize = 15;
constexpr double kGlowOpacity = 0.45;
// Qt's blur radius spreads about half as far as the design's shadow radius of 8.
constexpr double kGlowBlurRadius = 16;
constexpr double kGlowOffsetY = 1;

}  // namespace

SunLogo::SunLogo(QWidget* parent) : QWidget(parent) {
    setFixedSize(kDiameter, kDiameter);
    auto* glow = new QGraphicsDropShadowEffect(this);
    QColor glowColor = theme::amber();
    glowColor.setAlphaF(kGlowOpacity);
    glow->setColor(glowColor);
    glow->setBlurRadius(kGlowBlurRadius);
    glow->setOffset(0, kGlowOffsetY);
    setGraphicsEffect(glow);
}

void SunLogo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = rect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme::sunGradient(disc));
    painter.drawEllipse(disc);

    const double side = symbols::sideForPointSize(kSymbolPointSize);
    const QRectF symbol(disc.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    symbols::paint(painter, symbol, "sun.max.fill", theme::dusk());
}

}  // namespace corvane::ui
