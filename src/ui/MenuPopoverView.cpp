#include "ui/MenuPopoverView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/AboutView.h"
#include "ui/CardScrollArea.h"
#include "ui/DisplayCardView.h"
#include "ui/Faded.h"
#include "ui/FocusRing.h"
#include "ui/Fonts.h"
#include "ui/GlowSlider.h"
#include "ui/LinkRow.h"
#include "ui/Localization.h"
#include "ui/MiniSwitch.h"
#include "ui/PopoverHeader.h"
#include "ui/PresetPill.h"
#include "ui/SecondaryColor.h"
#include "ui/SettingsRow.h"
#include "ui/StepButton.h"
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
    new FocusRing(*this);

    observer_ = model_.addObserver([this](ModelField) { follow(); });
    follow();
    orderFocus();
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
    cardList_ = new QWidget;
    cardList_->setObjectName("cards");
    cardLayout_ = column(cardList_, kCardSpacing);
    cardScroll_ = new CardScrollArea(cardList_, mainContent_);
    cardScroll_->setObjectName("cardScroll");
    return cardScroll_;
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
    aboutButton_ = about;
    about->setObjectName("aboutButton");
    about->setFont(buttonFont);
    connect(about, &TextButton::clicked, this, [this] { model_.setShowingAbout(true); });
    auto* quit = new TextButton(localized("settings.quit"), footer_);
    quitButton_ = quit;
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
    header_->setCycles(content_.headerCycles);
    presetRow_->setVisible(content_.showsPresetRow);
    for (std::size_t i = 0; i < pills_.size(); ++i) pills_[i]->setState(content_.pills[i]);
    syncRow_->setVisible(content_.showsSyncRow);
    emptyState_->setVisible(content_.showsEmptyState);
    cardScroll_->setVisible(!content_.showsEmptyState);
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
    orderFocus();
}

// Tab walks the controls top to bottom, whenever they were made: the header, the presets, the
// sync switch, each card's minus, slider and plus, the settings switches, About and Quit, and
// then the About panel's links and Close. Hidden controls are passed over.
void MenuPopoverView::orderFocus() {
    std::vector<QWidget*> chain{header_};
    chain.insert(chain.end(), pills_.begin(), pills_.end());
    chain.push_back(&syncRow_->toggle());
    for (DisplayCardView* card : shownCards_) {
        chain.push_back(&card->minusButton());
        chain.push_back(&card->slider());
        chain.push_back(&card->plusButton());
    }
    for (SettingsRow* row : {menuPercentRow_, menuNitsRow_, batteryRow_, launchRow_})
        chain.push_back(&row->toggle());
    for (QWidget* control :
         std::initializer_list<QWidget*>{aboutButton_, quitButton_, &about_->websiteRow(),
                                         &about_->contactRow(), &about_->closeButton()})
        chain.push_back(control);
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
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

void MenuPopoverView::setHeightLimit(int height) {
    if (height == heightLimit_) return;
    heightLimit_ = height;
    reportHeight();
}

// The card list takes its full height unless that would make the popover taller than its
// limit; then it gives up the overflow (keeping at least its first card) and scrolls.
void MenuPopoverView::fitCards() {
    if (mainContent_->isHidden()) return;
    const int natural = cardLayout_->totalSizeHint().height();
    int wanted = natural;
    if (heightLimit_ > 0 && !cardScroll_->isHidden()) {
        const int others = heightForWidth(kWidth) - cardScroll_->minimumHeight();
        const int firstCard =
            shownCards_.empty() ? natural : shownCards_.front()->sizeHint().height();
        if (others + natural > heightLimit_)
            wanted = std::max(heightLimit_ - others, std::min(natural, firstCard));
    }
    if (wanted == cardScroll_->minimumHeight() && wanted == cardScroll_->maximumHeight()) return;
    cardScroll_->setFixedHeight(wanted);
    mainContent_->updateGeometry();
}

void MenuPopoverView::reportHeight() {
    // Nested containers hand their new size hints up only when their own layouts next run;
    // refresh them now, innermost first, so that the height is the one about to be laid out.
    for (QWidget* container : {cardList_, footer_, mainContent_}) container->updateGeometry();
    fitCards();
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

// Escape leaves the About panel; otherwise it goes on to the window, which closes.
void MenuPopoverView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && model_.showingAbout()) {
        model_.setShowingAbout(false);
        return;
    }
    QWidget::keyPressEvent(event);
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
