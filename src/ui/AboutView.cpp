#include "ui/AboutView.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/AboutVersion.h"
#include "ui/CardFrame.h"
#include "ui/CorvaneBrand.h"
#include "ui/Fonts.h"
#include "ui/LinkRow.h"
#include "ui/Localization.h"
#include "ui/LocalizationKeys.h"
#include "ui/SunLogo.h"
#include "ui/TextButton.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kSectionSpacing = 14;
constexpr int kHeaderSpacing = 11;
constexpr int kTitleSpacing = 2;
constexpr int kDescriptionPadding = 12;
constexpr int kDescriptionSpacing = 8;
constexpr int kLinkSpacing = 8;
constexpr int kCloseRowTopPadding = 2;

QLabel* makeLabel(const QString& text, const QFont& font) {
    auto* label = new QLabel(text);
    label->setFont(font);
    return label;
}

QLabel* makeWrappingLabel(const QString& text, const QFont& font) {
    QLabel* label = makeLabel(text, font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    return label;
}

}  // namespace

AboutView::AboutView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSectionSpacing);
    column->addLayout(makeHeader());
    column->addWidget(makeDescription());
    column->addLayout(makeLinks());
    column->addLayout(makeCloseRow());
}

QLabel* AboutView::secondary(QLabel* label) {
    secondaryLabels_.push_back(label);
    tint(label);
    return label;
}

void AboutView::tint(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, theme::secondary());
    label->setPalette(palette);
}

// A label's own secondary colour does not follow the application's palette by itself.
void AboutView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        for (QLabel* label : secondaryLabels_) tint(label);
    }
    QWidget::changeEvent(event);
}

QLayout* AboutView::makeHeader() {
    auto* titles = new QVBoxLayout;
    titles->setSpacing(kTitleSpacing);
    titles->addWidget(
        makeLabel(QStringLiteral("Corvane Display"), fonts::rounded(16, QFont::DemiBold)));
    const QString version =
        localizedString(keys::kAboutVersion, aboutVersion(applicationInformation()));
    titles->addWidget(secondary(makeLabel(version, fonts::rounded(11, QFont::Medium))));

    auto* header = new QHBoxLayout;
    header->setSpacing(kHeaderSpacing);
    header->addWidget(new SunLogo, 0, Qt::AlignVCenter);
    header->addLayout(titles);
    header->addStretch();
    return header;
}

QWidget* AboutView::makeDescription() {
    auto* card = new CardFrame;
    auto* texts = new QVBoxLayout(card);
    texts->setContentsMargins(kDescriptionPadding, kDescriptionPadding, kDescriptionPadding,
                              kDescriptionPadding);
    texts->setSpacing(kDescriptionSpacing);
    texts->addWidget(makeWrappingLabel(localized(keys::kAboutBody), fonts::system(12)));
    texts->addWidget(
        secondary(makeWrappingLabel(localized(keys::kAboutRequires), fonts::system(11))));
    return card;
}

QLayout* AboutView::makeLinks() {
    website_ = new LinkRow("globe", localized(keys::kAboutDeveloped), brand::websiteText());
    contact_ = new LinkRow("envelope", localized(keys::kAboutContact), brand::emailText());
    connect(website_, &LinkRow::clicked, this,
            [] { QDesktopServices::openUrl(brand::websiteUrl()); });
    connect(contact_, &LinkRow::clicked, this,
            [] { QDesktopServices::openUrl(brand::emailUrl()); });

    auto* links = new QVBoxLayout;
    links->setSpacing(kLinkSpacing);
    links->addWidget(website_);
    links->addWidget(contact_);
    return links;
}

QLayout* AboutView::makeCloseRow() {
    close_ = new TextButton(localized(keys::kAboutClose));
    close_->setFont(fonts::system(12, QFont::Medium));
    connect(close_, &QAbstractButton::clicked, this, [this] { model_.setShowingAbout(false); });

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, kCloseRowTopPadding, 0, 0);
    row->addWidget(close_);
    row->addStretch();
    return row;
}

}  // namespace corvane::ui
