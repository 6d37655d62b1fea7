#include "ui/TextButton.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "ui/SymbolBox.h"

namespace corvane::ui {

TextButton::TextButton(const QString& text, QColor color, QWidget* parent)
    : QAbstractButton(parent), color_(color) {
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TextButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text()))),
            static_cast<int>(std::ceil(metrics.height()))};
}

void TextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (isDown()) painter.setOpacity(kPressedOpacity);
    painter.setPen(color_);
    painter.setFont(font());
    painter.drawText(QRectF(rect()), Qt::AlignCenter, text());
}

}  // namespace corvane::ui
