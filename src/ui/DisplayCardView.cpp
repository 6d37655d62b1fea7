#include "ui/DisplayCardView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmapCache>
#include <QVBoxLayout>

#include "model/DisplayCardActions.h"
#include "ui/AccessibleViews.h"
#include "ui/CardContent.h"
#include "ui/CardTitleRow.h"
#include "ui/GlowSlider.h"
#include "ui/Localization.h"
#include "ui/LocalizationKeys.h"
#include "ui/StepButton.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kRowSpacing = 10;
constexpr int kControlSpacing = 8;

}  // namespace

DisplayCardView::DisplayCardView(AppModel& model, const DisplaySnapshot& display, QWidget* parent)
    : QWidget(parent),
      model_(model),
      display_(display),
      title_(new CardTitleRow),
      minus_(new StepButton("minus")),
      slider_(new GlowSlider),
      plus_(new StepButton("plus")) {
    installAccessibleViews();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kRowSpacing);
    column->addWidget(title_);

    // The slider reaches into the gaps beside it with its glow, so it stands in for them.
    auto* controls = new QHBoxLayout;
    controls->setSpacing(kControlSpacing - GlowSlider::kHorizontalBleed);
    controls->addWidget(minus_, 0, Qt::AlignVCenter);
    controls->addWidget(slider_, 1, Qt::AlignVCenter);
    controls->addWidget(plus_, 0, Qt::AlignVCenter);
    column->addLayout(controls);

    minus_->setAccessibleName(localized(keys::kCardDecrease));
    plus_->setAccessibleName(localized(keys::kCardIncrease));
    connect(minus_, &StepButton::clicked, this, [this] { step(false); });
    connect(plus_, &StepButton::clicked, this, [this] { step(true); });
    connect(slider_, &GlowSlider::moved, this, &DisplayCardView::slide);
    connect(slider_, &GlowSlider::committed, this, &DisplayCardView::commit);
    showDisplay();
}

void DisplayCardView::setDisplay(const DisplaySnapshot& display) {
    if (display == display_) return;
    display_ = display;
    showDisplay();
}

void DisplayCardView::retire() {
    retired_ = true;
    slider_->cancelDrag();
    hide();
}

void DisplayCardView::showDisplay() {
    const QString percent = localizedText(cardPercentText(display_));
    const auto nits = cardNitsLine(display_);
    title_->setTexts({
        .name = QString::fromStdString(display_.name),
        .status = localizedText(cardStatusLine(display_)),
        .percent = percent,
        .nits = nits ? localizedText(*nits) : QString(),
    });
    slider_->setValue(display_.percent);
    slider_->setMarker(cardSliderMarker(display_));
    // Assistive tools find the card as a group named after the display, holding the slider.
    setAccessibleName(title_->texts().name);
    slider_->setAccessibleName(title_->texts().name);
    slider_->setValueText(percent);
}

// Each action works from a fresh copy of the card's snapshot: publishing rebuilds the card's
// snapshot while the action is still running.
void DisplayCardView::step(bool up) {
    if (retired_) return;
    DisplayCardActions actions(model_, display_);
    up ? actions.plus() : actions.minus();
}

void DisplayCardView::slide(double value) {
    if (retired_) return;
    DisplayCardActions(model_, display_).slide(value);
}

void DisplayCardView::commit() {
    if (retired_) return;
    DisplayCardActions(model_, display_).release();
}

// Cards of one size look alike: their background is drawn once and shared, so that a card
// whose level changes repaints only its text and slider over a copy.
QPixmap DisplayCardView::background() const {
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("corvane.card %1x%2@%3 %4")
                            .arg(width())
                            .arg(height())
                            .arg(ratio)
                            .arg(theme::primary().rgba());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = QPixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    theme::paintCard(painter, QRectF(rect()));
    painter.end();
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void DisplayCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background());
}

}  // namespace corvane::ui
