#include "ui/PopoverHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kSpacing = 11;
constexpr int kTitleSpacing = 2;
const QString kProductTitle = QStringLiteral("Corvane Display");

QLabel* makeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void setTextColor(QLabel& label, const QColor& color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

}  // namespace

PopoverHeader::PopoverHeader(QWidget* parent)
    : QAbstractButton(parent), logoSlot_(new QWidget(this)), subtitle_(makeLabel({}, this)) {
    setToolTip(localized("preset.cycle"));
    setFocusPolicy(Qt::NoFocus);
    logoSlot_->setFixedSize(kLogoDiameter, kLogoDiameter);
    logoSlot_->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* title = makeLabel(kProductTitle, this);
    title->setFont(fonts::rounded(16, QFont::DemiBold));
    setTextColor(*title, theme::primary());

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
}

void PopoverHeader::setSubtitle(const TextKey& subtitle) {
    if (shownSubtitle_ == subtitle) return;
    shownSubtitle_ = subtitle;
    const bool live = subtitle.argument.has_value();
    subtitle_->setText(localizedText(subtitle));
    subtitle_->setFont(live ? fonts::rounded(11, QFont::Medium) : fonts::system(11));
    setTextColor(*subtitle_, live ? theme::primary() : theme::secondary());
}

QString PopoverHeader::subtitleText() const { return subtitle_->text(); }

}  // namespace corvane::ui
