#include "ui/AboutView.h"

#include <QDesktopServices>
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

QLabel* makeLabel(const QString& text, const QFont& font, const QColor& color) {
    auto* label = new QLabel(text);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QLabel* makeWrappingLabel(const QString& text, const QFont& font, const QColor& color) {
    QLabel* label = makeLabel(text, font, color);
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

QLayout* AboutView::makeHeader() {
    auto* titles = new QVBoxLayout;
    titles->setSpacing(kTitleSpacing);
    titles->addWidget(makeLabel(QStringLiteral("Corvane Display"),
                                fonts::rounded(16, QFont::DemiBold), theme::primary()));
    const QString version =
        localizedString(keys::kAboutVersion, aboutVersion(applicationInformation()));
    titles->addWidget(makeLabel(version, fonts::rounded(11, QFont::Medium), theme::secondary()));

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
    texts->addWidget(
        makeWrappingLabel(localized(keys::kAboutBody), fonts::system(12), theme::primary()));
    texts->addWidget(
        makeWrappingLabel(localized(keys::kAboutRequires), fonts::system(11), theme::secondary()));
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
    close_ = new TextButton(localized(keys::kAboutClose), theme::secondary());
    close_->setFont(fonts::system(12, QFont::Medium));
    connect(close_, &QAbstractButton::clicked, this, [this] { model_.setShowingAbout(false); });

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, kCloseRowTopPadding, 0, 0);
    row->addWidget(close_);
    row->addStretch();
    return row;
}

}  // namespace corvane::ui
