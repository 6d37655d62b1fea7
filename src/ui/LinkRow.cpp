#include "ui/LinkRow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

#include "ui/Fonts.h"
#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kSymbolPointSize = 11;
constexpr double kSymbolColumn = 16;
constexpr double kSpacing = 8;
constexpr double kLineSpacing = 1;

QFont captionFont() {
    return fonts::system(11);
}
QFont addressFont() {
    return fonts::rounded(12, QFont::DemiBold);
}

}  // namespace

LinkRow::LinkRow(std::string_view symbol, const QString& caption, const QString& address,
                 QWidget* parent)
    : PlainButton(parent), symbol_(symbol), caption_(caption) {
    setText(address);
    setAccessibleName(caption + QLatin1Char(' ') + address);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize LinkRow::sizeHint() const {
    const QFontMetricsF caption(captionFont()), address(addressFont());
    const double textWidth =
        std::max(caption.horizontalAdvance(caption_), address.horizontalAdvance(text()));
    return {static_cast<int>(std::ceil(kSymbolColumn + kSpacing + textWidth)),
            static_cast<int>(std::ceil(caption.height() + kLineSpacing + address.height()))};
}

void LinkRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown()) painter.setOpacity(kPressedOpacity);

    const QPointF symbolCentre(kSymbolColumn / 2, height() / 2.0);
    symbols::paint(painter, symbolBox(kSymbolPointSize, symbolCentre), symbol_, theme::primary());

    const double textLeft = kSymbolColumn + kSpacing;
    const QFontMetricsF caption(captionFont()), address(addressFont());
    const double textTop = (height() - caption.height() - kLineSpacing - address.height()) / 2;
    painter.setFont(captionFont());
    painter.setPen(theme::secondary());
    painter.drawText(QPointF(textLeft, textTop + caption.ascent()), caption_);
    painter.setFont(addressFont());
    painter.setPen(theme::primary());
    const double addressTop = textTop + caption.height() + kLineSpacing;
    painter.drawText(QPointF(textLeft, addressTop + address.ascent()), text());
}

}  // namespace corvane::ui
