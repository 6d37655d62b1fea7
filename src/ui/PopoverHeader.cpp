#include "ui/PopoverHeader.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/AccessibleViews.h"
#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/SecondaryColor.h"

namespace corvane::ui {
namespace {

constexpr int kSpacing = 11;
constexpr int kTitleSpacing = 2;
const QString kProductTitle = QStringLiteral("Corvane Display");

QLabel* makeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Text in the label colour, not the button-text colour a button hands to its children.
    label->setForegroundRole(QPalette::WindowText);
    return label;
}

}  // namespace

PopoverHeader::PopoverHeader(QWidget* parent)
    : PlainButton(parent), logoSlot_(new QWidget(this)), subtitle_(makeLabel({}, this)) {
    // Before anything that announces a change: that makes Qt build (and keep) a plain
    // accessible interface for the widget.
    installAccessibleViews();
    setAccessibleName(kProductTitle);
    logoSlot_->setFixedSize(kLogoDiameter, kLogoDiameter);
    logoSlot_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* title = makeLabel(kProductTitle, this);
    title->setFont(fonts::rounded(16, QFont::DemiBold));

    auto* titles = new QVBoxLayout;
    titles->setSpacing(kTitleSpacing);
    titles->addWidget(title);
    titles->addWidget(subtitle_);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    row->addWidget(logoSlot_, 0, Qt::AlignVCenter);
    row->addLayout(titles);
    row->addStretch(1);
    setSubtitle({"popover.subtitle", std::nullopt});
    setCycles(false);
}

void PopoverHeader::setCycles(bool cycles) {
    if (cycles == cycles_) return;
    cycles_ = cycles;
    setToolTip(cycles ? localized("preset.cycle") : QString());
    setFocusPolicy(cycles ? Qt::TabFocus : Qt::NoFocus);
    if (!cycles && hasFocus()) focusNextChild();
}

void PopoverHeader::setSubtitle(const TextKey& subtitle) {
    if (shownSubtitle_ == subtitle) return;
    shownSubtitle_ = subtitle;
    subtitle_->setText(localizedText(subtitle));
    setAccessibleDescription(subtitle_->text());
    showSubtitleStyle();
}

void PopoverHeader::showSubtitleStyle() {
    const bool live = shownSubtitle_ && shownSubtitle_->argument.has_value();
    subtitle_->setFont(live ? fonts::rounded(11, QFont::Medium) : fonts::system(11));
    if (live)
        subtitle_->setPalette(QPalette());
    else
        showInSecondaryColor(*subtitle_);
}

void PopoverHeader::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) showSubtitleStyle();
    QAbstractButton::changeEvent(event);
}

}  // namespace corvane::ui
