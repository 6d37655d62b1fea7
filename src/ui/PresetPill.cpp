#include "ui/PresetPill.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ui/Faded.h"
#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/SymbolBox.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr double kHorizontalPadding = 8;
constexpr double kVerticalPadding = 6;
constexpr double kInactiveFillOpacity = 0.07;
constexpr double kBorderOpacity = 0.06;

constexpr double kSmallestTextScale = 0.8;

QFont pillFont() {
    return fonts::rounded(11, QFont::DemiBold);
}

// A label a little too long for its quarter of the row is set smaller rather than cut short;
// only one that still does not fit is elided.
QFont fittedFont(QFont font, const QString& text, double width) {
    const double natural = QFontMetricsF(font).horizontalAdvance(text);
    if (natural <= width) return font;
    const double scale = std::max(width / natural, kSmallestTextScale);
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
    else
        font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

}  // namespace

PresetPill::PresetPill(BrightnessPreset preset, QWidget* parent)
    : PlainButton(parent), preset_(preset) {
    setText(localized(presetTitleKey(preset)));
    setFont(pillFont());
    // The pills of a row share its width equally, whatever their labels.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void PresetPill::setState(const PresetPillState& state) {
    setEnabled(!state.unavailable);
    if (state.active == active_) return;
    active_ = state.active;
    update();
}

QSize PresetPill::sizeHint() const {
    const QFontMetricsF metrics(font());
    return {static_cast<int>(std::ceil(metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding)),
            static_cast<int>(std::ceil(metrics.height() + 2 * kVerticalPadding))};
}

QSize PresetPill::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void PresetPill::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(kUnavailableOpacity);
    else if (isDown())
        painter.setOpacity(kPressedOpacity);

    const QRectF bounds = QRectF(rect());
    const double radius = bounds.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, radius, radius);
    if (active_) {
        painter.fillPath(capsule, theme::sunGradient(bounds));
    } else {
        painter.fillPath(capsule, faded(theme::primary(), kInactiveFillOpacity));
        painter.setPen(QPen(faded(Qt::white, kBorderOpacity), 1));
        painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    }

    painter.setPen(active_ ? theme::dusk() : theme::primary());
    const QRectF label = bounds.adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);
    const QFont fitted = fittedFont(font(), text(), label.width());
    painter.setFont(fitted);
    const QString shown = QFontMetricsF(fitted).elidedText(text(), Qt::ElideRight, label.width());
    painter.drawText(label, Qt::AlignCenter, shown);
}

}  // namespace corvane::ui
