#include "ui/TextButton.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {

TextButton::TextButton(const QString& text, QWidget* parent) : PlainButton(parent) {
    setText(text);
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
    painter.setPen(theme::secondary());
    painter.setFont(font());
    painter.drawText(QRectF(rect()), Qt::AlignCenter, text());
}

}  // namespace corvane::ui
