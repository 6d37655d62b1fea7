#include "ui/TextButton.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {

TextButton::TextButton(const QString& text, QColor color, QWidget* parent)
    : TextButton(text, parent) {
    color_ = color;
}

TextButton::TextButton(const QString& text, QWidget* parent) : QAbstractButton(parent) {
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
    painter.setPen(color_.value_or(theme::secondary()));
    painter.setFont(font());
    painter.drawText(QRectF(rect()), Qt::AlignCenter, text());
}

}  // namespace corvane::ui
