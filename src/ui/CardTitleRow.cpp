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
      nitsFont_(fonts::roundedMonospacedDigits(10, QFont::DemiBold)),
      nameMetrics_(nameFont_),
      statusMetrics_(statusFont_),
      percentMetrics_(percentFont_),
      nitsMetrics_(nitsFont_) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CardTitleRow::setTexts(Texts texts) {
    if (texts == texts_) return;
    const bool heightMayChange = texts.nits.isEmpty() != texts_.nits.isEmpty();
    texts_ = std::move(texts);
    if (heightMayChange) updateGeometry();
    update();
}

const CardTitleRow::Line& CardTitleRow::laidOut(Line& line, const QString& text,
                                                const QFont& font, double room) {
    if (line.text == text && line.room == room && !line.laidOut.text().isNull()) return line;
    const QFontMetricsF metrics(font);
    const QString shown = room < 0 ? text : metrics.elidedText(text, Qt::ElideRight, room);
    line.text = text;
    line.room = room;
    line.laidOut = QStaticText(shown);
    line.laidOut.setTextFormat(Qt::PlainText);
    line.laidOut.prepare(QTransform(), font);
    line.advance = metrics.horizontalAdvance(shown);
    return line;
}

double CardTitleRow::trailingWidth() const {
    const double percent = laidOut(percent_, texts_.percent, percentFont_, -1).advance;
    if (texts_.nits.isEmpty()) return percent;
    return std::max(percent, laidOut(nits_, texts_.nits, nitsFont_, -1).advance);
}

CardTitleRow::Layout CardTitleRow::layout(double width) const {
    const QFontMetricsF &name = nameMetrics_, &status = statusMetrics_, &percent = percentMetrics_,
                        &nits = nitsMetrics_;
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
    const double leading = std::max(nameMetrics_.horizontalAdvance(texts_.name),
                                    statusMetrics_.horizontalAdvance(texts_.status));
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
    // A laid-out line is placed by its top left corner, the baseline's ascent above it.
    auto draw = [&](const QFont& font, const QFontMetricsF& metrics, const Line& line, double x,
                    double baseline) {
        painter.setFont(font);
        painter.drawStaticText(QPointF(x, baseline - metrics.ascent()), line.laidOut);
    };
    auto drawLeading = [&](const QFont& font, const QFontMetricsF& metrics, Line& line,
                           const QString& text, double baseline) {
        draw(font, metrics, laidOut(line, text, font, at.leadingWidth), 0, baseline);
    };
    auto drawTrailing = [&](const QFont& font, const QFontMetricsF& metrics, Line& line,
                            const QString& text, double baseline) {
        const Line& shown = laidOut(line, text, font, -1);
        draw(font, metrics, shown, width() - shown.advance, baseline);
    };

    painter.setPen(theme::primary());
    drawLeading(nameFont_, nameMetrics_, name_, texts_.name, at.nameBaseline);
    drawTrailing(percentFont_, percentMetrics_, percent_, texts_.percent, at.percentBaseline);
    if (!texts_.nits.isEmpty())
        drawTrailing(nitsFont_, nitsMetrics_, nits_, texts_.nits, at.nitsBaseline);
    painter.setPen(theme::secondary());
    drawLeading(statusFont_, statusMetrics_, status_, texts_.status, at.statusBaseline);
}

}  // namespace corvane::ui
