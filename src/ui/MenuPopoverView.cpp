#include "ui/MenuPopoverView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/AboutView.h"
#include "ui/DisplayCardView.h"
#include "ui/Faded.h"
#include "ui/Fonts.h"
#include "ui/Localization.h"
#include "ui/PopoverHeader.h"
#include "ui/PresetPill.h"
#include "ui/SecondaryColor.h"
#include "ui/SettingsRow.h"
#include "ui/SunLogo.h"
#include "ui/TextButton.h"
#include "ui/Theme.h"

namespace corvane::ui {
namespace {

constexpr int kContentSpacing = 12;
constexpr int kPillSpacing = 6;
constexpr int kCardSpacing = 8;
constexpr int kFooterSpacing = 7;
constexpr int kButtonRowTopPadding = 2;
constexpr int kEmptyStatePadding = 12;
constexpr double kDividerOpacity = 0.28;
// The platform's separator: a faint line of the label colour.
constexpr double kSeparatorOpacity = 0.25;

// The line between the content and the settings.
class Divider : public QWidget {
  public:
    explicit Divider(QWidget* parent) : QWidget(parent) {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), faded(theme::primary(), kSeparatorOpacity * kDividerOpacity));
    }
};

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

QVBoxLayout* column(QWidget* owner, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

}  // namespace

MenuPopoverView::MenuPopoverView(AppModel& model, std::function<void()> quit, QWidget* parent)
    : QWidget(parent), model_(model), quit_(std::move(quit)) {
    setFixedWidth(kWidth);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    outer->setSpacing(0);
    outer->addWidget(buildMainContent());
    about_ = new AboutView(model_, this);
    about_->setObjectName("about");
    outer->addWidget(about_);

    // Over the header, as the popover's own child, so that its glow can reach into the margin.
    logo_ = new SunLogo(this);
    logo_->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QObject* moving : {static_cast<QObject*>(mainContent_), static_cast<QObject*>(header_),
                            static_cast<QObject*>(&header_->logoSlot())})
        moving->installEventFilter(this);

    observer_ = model_.addObserver([this](ModelField) { follow(); });
    follow();
}

MenuPopoverView::~MenuPopoverView() {
    model_.removeObserver(observer_);
}

QWidget* MenuPopoverView::buildMainContent() {
    mainContent_ = new QWidget(this);
    mainContent_->setObjectName("mainContent");
    auto* content = column(mainContent_, kContentSpacing);

    header_ = new PopoverHeader(mainContent_);
    header_->setObjectName("header");
    connect(header_, &PopoverHeader::clicked, this, [this] { cyclePreset(model_); });
    content->addWidget(header_);

    content->addWidget(buildPresetRow());

    syncRow_ = addSettingsRow(*content, "rectangle.split.2x1", "settings.sync", "syncRow",
                              [this] { model_.setSyncDisplays(!model_.syncDisplays()); });

    emptyState_ = makeLabel(localized("empty.no_displays"), fonts::system(12), mainContent_);
    showInSecondaryColor(*emptyState_);
    emptyState_->setObjectName("emptyState");
    emptyState_->setContentsMargins(0, kEmptyStatePadding, 0, kEmptyStatePadding);
    content->addWidget(emptyState_);
    content->addWidget(buildCardList());

    warning_ = makeLabel({}, fonts::system(11), mainContent_);
    warning_->setObjectName("warning");
    content->addWidget(warning_);

    auto* divider = new Divider(mainContent_);
    divider->setObjectName("divider");
    content->addWidget(divider);
    content->addWidget(buildFooter());
    return mainContent_;
}

QWidget* MenuPopoverView::buildPresetRow() {
    presetRow_ = new QWidget(mainContent_);
    presetRow_->setObjectName("presetRow");
    auto* row = new QHBoxLayout(presetRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kPillSpacing);
    for (BrightnessPreset preset : kAllBrightnessPresets) {
        auto* pill = new PresetPill(preset, presetRow_);
        connect(pill, &PresetPill::clicked, this, [this, preset] { model_.applyPreset(preset); });
        row->addWidget(pill, 1);
        pills_.push_back(pill);
    }
    return presetRow_;
}

QWidget* MenuPopoverView::buildCardList() {
    cardList_ = new QWidget(mainContent_);
    cardList_->setObjectName("cards");
    cardLayout_ = column(cardList_, kCardSpacing);
    return cardList_;
}

QWidget* MenuPopoverView::buildFooter() {
    footer_ = new QWidget(mainContent_);
    footer_->setObjectName("footer");
    auto* rows = column(footer_, kFooterSpacing);
    menuPercentRow_ =
        addSettingsRow(*rows, "percent", "settings.menu_percent", "menuPercentRow",
                       [this] { model_.setShowMenuPercent(!model_.showMenuPercent()); });
    menuNitsRow_ = addSettingsRow(*rows, "sun.max", "settings.menu_nits", "menuNitsRow",
                                  [this] { model_.setShowMenuNits(!model_.showMenuNits()); });
    batteryRow_ = addSettingsRow(*rows, "battery.75", "settings.battery", "batteryRow",
                                 [this] { model_.setLimitOnBattery(!model_.limitOnBattery()); });
    // The model's registration result, not the click, decides what this switch shows.
    launchRow_ = addSettingsRow(*rows, "power.circle", "settings.launch_at_login",
                                "launchAtLoginRow", [this] { model_.toggleLaunchAtLogin(); });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, kButtonRowTopPadding, 0, 0);
    const QFont buttonFont = fonts::system(12, QFont::Medium);
    auto* about = new TextButton(localized("about.title"), footer_);
    about->setObjectName("aboutButton");
    about->setFont(buttonFont);
    connect(about, &TextButton::clicked, this, [this] { model_.setShowingAbout(true); });
    auto* quit = new TextButton(localized("settings.quit"), footer_);
    quit->setObjectName("quitButton");
    quit->setFont(buttonFont);
    connect(quit, &TextButton::clicked, this, [this] {
        model_.teardown();
        if (quit_) quit_();
    });
    buttons->addWidget(about);
    buttons->addStretch(1);
    buttons->addWidget(quit);
    rows->addLayout(buttons);
    return footer_;
}

SettingsRow* MenuPopoverView::addSettingsRow(QVBoxLayout& column, std::string_view symbol,
                                             std::string_view titleKey, const char* name,
                                             std::function<void()> flip) {
    auto* row = new SettingsRow(symbol, titleKey);
    row->setObjectName(name);
    connect(row, &SettingsRow::flipped, this, std::move(flip));
    column.addWidget(row);
    return row;
}

void MenuPopoverView::follow() {
    Shown now{model_.showingAbout(), describePopover(model_), model_.displays(),
              {model_.syncDisplays(), model_.showMenuPercent(), model_.showMenuNits(),
               model_.limitOnBattery(), model_.launchAtLogin()}};
    if (now == shown_) return;
    shown_ = std::move(now);
    const bool showingAbout = model_.showingAbout();
    mainContent_->setVisible(!showingAbout);
    logo_->setVisible(!showingAbout);
    about_->setVisible(showingAbout);
    showContent();
    reportHeight();
}

void MenuPopoverView::showContent() {
    content_ = describePopover(model_);
    header_->setSubtitle(content_.subtitle);
    presetRow_->setVisible(content_.showsPresetRow);
    for (std::size_t i = 0; i < pills_.size(); ++i) pills_[i]->setState(content_.pills[i]);
    syncRow_->setVisible(content_.showsSyncRow);
    emptyState_->setVisible(content_.showsEmptyState);
    cardList_->setVisible(!content_.showsEmptyState);
    showCards();

    switch (content_.warning) {
        case PopoverWarning::battery:
            warning_->setText(localized("warning.battery"));
            warning_->setFont(fonts::system(11, QFont::Medium));
            break;
        case PopoverWarning::peak:
            warning_->setText(localized("warning.peak"));
            warning_->setFont(fonts::system(11));
            break;
        case PopoverWarning::none:
            break;
    }
    warning_->setVisible(content_.warning != PopoverWarning::none);
    showSettings();
}

void MenuPopoverView::showCards() {
    const auto& displays = model_.displays();
    for (auto it = cardsById_.begin(); it != cardsById_.end();) {
        const DisplayID id = it->first;
        const bool online = std::any_of(displays.begin(), displays.end(),
                                        [id](const DisplaySnapshot& d) { return d.id == id; });
        if (online) {
            ++it;
            continue;
        }
        // Deleted later: the card may be the one whose drag is being handled right now.
        it->second->retire();
        it->second->deleteLater();
        it = cardsById_.erase(it);
    }

    std::vector<DisplayCardView*> order;
    for (const DisplaySnapshot& display : displays) {
        DisplayCardView*& card = cardsById_[display.id];
        if (card)
            card->setDisplay(display);
        else
            card = new DisplayCardView(model_, display, cardList_);
        card->show();
        order.push_back(card);
    }
    if (order == shownCards_) return;
    for (DisplayCardView* card : shownCards_) cardLayout_->removeWidget(card);
    for (DisplayCardView* card : order) cardLayout_->addWidget(card);
    shownCards_ = std::move(order);
}

void MenuPopoverView::showSettings() {
    syncRow_->setOn(model_.syncDisplays());
    menuPercentRow_->setOn(model_.showMenuPercent());
    menuNitsRow_->setOn(model_.showMenuNits());
    batteryRow_->setOn(model_.limitOnBattery());
    launchRow_->setOn(model_.launchAtLogin());
    menuNitsRow_->setVisible(content_.showsXDRSettings);
    batteryRow_->setVisible(content_.showsXDRSettings);
}

int MenuPopoverView::heightForWidth(int width) const {
    QLayout* content = layout();
    return content->hasHeightForWidth() ? content->totalHeightForWidth(width)
                                        : content->totalSizeHint().height();
}

QSize MenuPopoverView::sizeHint() const {
    return {kWidth, heightForWidth(kWidth)};
}

void MenuPopoverView::reportHeight() {
    // Nested containers hand their new size hints up only when their own layouts next run;
    // refresh them now, innermost first, so that the height is the one about to be laid out.
    for (QWidget* container : {cardList_, footer_, mainContent_}) container->updateGeometry();
    const int height = heightForWidth(kWidth);
    if (height == reportedHeight_) return;
    reportedHeight_ = height;
    updateGeometry();
    emit contentHeightChanged(height);
}

void MenuPopoverView::placeLogo() {
    const QWidget& slot = header_->logoSlot();
    const QPoint slotOrigin = slot.mapTo(this, QPoint(0, 0));
    logo_->move(slotOrigin +
                QPoint((slot.width() - logo_->width()) / 2, (slot.height() - logo_->height()) / 2));
    logo_->raise();
}

bool MenuPopoverView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) placeLogo();
    return QWidget::eventFilter(watched, event);
}

void MenuPopoverView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) showInSecondaryColor(*emptyState_);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        panel_ = QPixmap();
    QWidget::changeEvent(event);
}

const QPixmap& MenuPopoverView::panel() {
    const bool translucent = window()->testAttribute(Qt::WA_TranslucentBackground);
    const qreal ratio = devicePixelRatioF();
    if (!panel_.isNull() && panel_.deviceIndependentSize() == QSizeF(size()) &&
        panel_.devicePixelRatio() == ratio && panelTranslucent_ == translucent)
        return panel_;
    panel_ = QPixmap(size() * ratio);
    panel_.setDevicePixelRatio(ratio);
    panel_.fill(Qt::transparent);
    panelTranslucent_ = translucent;
    QPainter painter(&panel_);
    theme::paintPanel(painter, QRectF(rect()), translucent);
    return panel_;
}

void MenuPopoverView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, panel());
}

}  // namespace corvane::ui
