#include "ui/CardTitleRow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/Fonts.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kLineSpacing = 3;
constexpr double kMinimumGap = 8;

}  // namespace

// Where each line's baseline lies, and how wide the leading side may be.
struct CardTitleRow::Layout {
    double nameBaseline = 0;
    double statusBaseline = 0;
    double percentBaseline = 0;
    double nitsBaseline = 0;
    double leadingWidth = 0;
    double height = 0;
};

CardTitleRow::CardTitleRow(QWidget* parent)
    : QWidget(parent),
      nameFont_(fonts::rounded(13, QFont::DemiBold)),
      statusFont_(fonts::rounded(10, QFont::Medium)),
      percentFont_(fonts::roundedMonospacedDigits(22, QFont::Bold)),
      nitsFont_(fonts::roundedMonospacedDigits(10, QFont::DemiBold)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CardTitleRow::setTexts(Texts texts) {
    if (texts == texts_) return;
    const bool heightMayChange = texts.nits.isEmpty() != texts_.nits.isEmpty();
    texts_ = std::move(texts);
    if (heightMayChange) updateGeometry();
    update();
}

double CardTitleRow::trailingWidth() const {
    const double percent = QFontMetricsF(percentFont_).horizontalAdvance(texts_.percent);
    if (texts_.nits.isEmpty()) return percent;
    return std::max(percent, QFontMetricsF(nitsFont_).horizontalAdvance(texts_.nits));
}

CardTitleRow::Layout CardTitleRow::layout(double width) const {
    const QFontMetricsF name(nameFont_), status(statusFont_), percent(percentFont_),
        nits(nitsFont_);
    // Both sides hang from one shared baseline: that of the name and of the percent figure.
    const double baseline = std::max(name.ascent(), percent.ascent());
    Layout result;
    result.nameBaseline = baseline;
    result.statusBaseline = baseline + name.descent() + kLineSpacing + status.ascent();
    result.percentBaseline = baseline;
    double trailingBottom = baseline + percent.descent();
    if (!texts_.nits.isEmpty()) {
        result.nitsBaseline = trailingBottom + kLineSpacing + nits.ascent();
        trailingBottom = result.nitsBaseline + nits.descent();
    }
    result.height = std::ceil(std::max(result.statusBaseline + status.descent(), trailingBottom));
    result.leadingWidth = std::max(0.0, width - trailingWidth() - kMinimumGap);
    return result;
}

QSize CardTitleRow::sizeHint() const {
    const double leading = std::max(QFontMetricsF(nameFont_).horizontalAdvance(texts_.name),
                                    QFontMetricsF(statusFont_).horizontalAdvance(texts_.status));
    return {static_cast<int>(std::ceil(leading + kMinimumGap + trailingWidth())),
            static_cast<int>(layout(0).height)};
}

QSize CardTitleRow::minimumSizeHint() const {
    return {static_cast<int>(std::ceil(trailingWidth())), static_cast<int>(layout(0).height)};
}

void CardTitleRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Layout at = layout(width());
    auto drawLeading = [&](const QFont& font, const QString& text, double baseline) {
        painter.setFont(font);
        const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, at.leadingWidth);
        painter.drawText(QPointF(0, baseline), shown);
    };
    auto drawTrailing = [&](const QFont& font, const QString& text, double baseline) {
        painter.setFont(font);
        const double advance = QFontMetricsF(font).horizontalAdvance(text);
        painter.drawText(QPointF(width() - advance, baseline), text);
    };

    painter.setPen(theme::primary());
    drawLeading(nameFont_, texts_.name, at.nameBaseline);
    drawTrailing(percentFont_, texts_.percent, at.percentBaseline);
    if (!texts_.nits.isEmpty()) drawTrailing(nitsFont_, texts_.nits, at.nitsBaseline);
    painter.setPen(theme::secondary());
    drawLeading(statusFont_, texts_.status, at.statusBaseline);
}

}  // namespace corvane::ui
