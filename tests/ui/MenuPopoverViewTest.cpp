#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>

#include "ui/AboutView.h"
#include "ui/Localization.h"
#include "ui/PopoverHeader.h"
#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;
using testing::click;

class MenuPopoverViewTest : public testing::PopoverFixture {
  protected:
    // The displays whose cards are on show, top to bottom as laid out.
    std::vector<DisplayID> shownCardIds() {
        QCoreApplication::processEvents();
        std::vector<DisplayCardView*> shown;
        for (DisplayCardView* card : popover->findChildren<DisplayCardView*>())
            if (card->isVisibleTo(popover.get())) shown.push_back(card);
        std::ranges::sort(shown, {}, [&](DisplayCardView* card) { return placed(*card).y(); });
        std::vector<DisplayID> ids;
        for (DisplayCardView* card : shown) ids.push_back(card->displayId());
        return ids;
    }
    // The rows that come and go with the model's state, in the order the popover stacks them.
    std::vector<bool> optionalRows() {
        return {shows("presetRow"), shows("syncRow"),     shows("emptyState"), shows("cards"),
                shows("warning"),   shows("menuNitsRow"), shows("batteryRow")};
    }
};

TEST_F(MenuPopoverViewTest, RowsFollowTheDisplaysAndXDRAndThePanelIsDrawnAgainAsItGrows) {
    open({});
    popover->grab();
    // No displays: header, empty state, divider and footer only.
    EXPECT_EQ(optionalRows(), (std::vector{false, false, true, false, false, false, false}));
    for (const char* always :
         {"header", "divider", "menuPercentRow", "launchAtLoginRow", "aboutButton", "quitButton"})
        EXPECT_TRUE(shows(always)) << always;

    int reportedHeight = 0;
    QObject::connect(popover.get(), &MenuPopoverView::contentHeightChanged,
                     [&](int height) { reportedHeight = height; });
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    model->refresh();
    EXPECT_EQ(optionalRows(), (std::vector{false, false, false, true, false, false, false}));
    EXPECT_EQ(shownCardIds(), std::vector<DisplayID>{monitor});
    EXPECT_EQ(reportedHeight, popover->sizeHint().height());
    popover->resize(popover->sizeHint());
    const QImage shown = popover->grab().toImage();
    const QImage expected = testing::paintedPanel(shown.size());
    // Corners and edges of the padding, where no child draws, across the new height.
    const int w = shown.width() - 1, h = shown.height() - 1;
    for (QPoint point : {QPoint(4, 4), QPoint(w - 4, h / 2), QPoint(4, h - 4), QPoint(w - 4, h - 4),
                         QPoint(w / 2, h - 1)})
        EXPECT_LE(testing::colourDistance(shown.pixelColor(point), expected.pixelColor(point)), 3)
            << point.x() << "," << point.y();

    desktop.add(SimDisplayConfig::gammaOnlyMonitor("Dell"));
    model->refresh();
    EXPECT_EQ(optionalRows(), (std::vector{false, true, false, true, false, false, false}));
    EXPECT_EQ(shownCardIds(), (std::vector<DisplayID>{monitor, 2}));

    // A built-in panel is listed first, and its card goes to the top.
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    model->refresh();
    EXPECT_EQ(optionalRows(), (std::vector{true, true, false, true, false, true, true}));
    EXPECT_EQ(shownCardIds(), (std::vector<DisplayID>{xdr, monitor, 2}));
}

// The cycle's order is PopoverContentTest's; here the header steps on from the focused
// display's level and the pills and subtitle follow.
TEST_F(MenuPopoverViewTest, HeaderStepsThePresetOnFromTheFocusedXDRDisplaysLevel) {
    open({SimDisplayConfig::boostPanel(), SimDisplayConfig::gammaOnlyMonitor("LG")}, {37.5});
    click(part<PopoverHeader>("header"));
    EXPECT_DOUBLE_EQ(percent(1), 62.5);
    EXPECT_EQ(popover->content().subtitle, (TextKey{"popover.live %lld", 1000}));
    EXPECT_TRUE(pill(BrightnessPreset::nits1000).isActive());
    EXPECT_FALSE(pill(BrightnessPreset::sdr).isActive());
}

TEST_F(MenuPopoverViewTest, RestorePillIsUnavailableUntilAPresetLeavesALevelToGoBackTo) {
    open({SimDisplayConfig::boostPanel()}, {50});
    PresetPill& restore = pill(BrightnessPreset::restore);
    EXPECT_FALSE(restore.isEnabled());  // and so takes no clicks

    // A pill's press applying its preset is PopoverKeyboardTest's.
    click(pill(BrightnessPreset::peak));
    EXPECT_TRUE(restore.isEnabled());

    click(restore);
    EXPECT_DOUBLE_EQ(percent(1), 50);
    EXPECT_FALSE(restore.isEnabled());
}

TEST_F(MenuPopoverViewTest, BatteryWarningOutranksPeakAndNeedsTheLimitOnBattery) {
    open({SimDisplayConfig::boostPanel()}, {100});
    auto& warning = part<QLabel>("warning");
    EXPECT_EQ(popover->content().warning, PopoverWarning::peak);
    EXPECT_EQ(warning.text(), localized("warning.peak"));
    EXPECT_TRUE(shows("warning"));

    // The battery state shown is the one the model last saw, from its poll.
    desktop.power().setOnBattery(true);
    model->tick();
    EXPECT_EQ(popover->content().warning, PopoverWarning::peak);
    click(toggle("batteryRow"));
    EXPECT_TRUE(part<SettingsRow>("batteryRow").isOn());
    EXPECT_EQ(popover->content().warning, PopoverWarning::battery);
    EXPECT_EQ(warning.text(), localized("warning.battery"));
    EXPECT_EQ(warning.font().weight(), QFont::Medium);
}

// The sync switch is followed both ways in PopoverAccessibilityTest.
TEST_F(MenuPopoverViewTest, SwitchesShowTheModelNotTheClick) {
    open({SimDisplayConfig::builtinPanel()});
    auto& launch = part<SettingsRow>("launchAtLoginRow");
    desktop.loginItem().setRefusesRegister(true);
    click(launch.toggle());
    EXPECT_FALSE(model->launchAtLogin());
    EXPECT_FALSE(launch.isOn());

    desktop.loginItem().setRefusesRegister(false);
    click(launch.toggle());
    EXPECT_TRUE(launch.isOn());

    auto& menuPercent = part<SettingsRow>("menuPercentRow");
    EXPECT_TRUE(menuPercent.isOn());
    click(menuPercent.toggle());
    EXPECT_FALSE(model->showMenuPercent());
    EXPECT_FALSE(menuPercent.isOn());
}

TEST_F(MenuPopoverViewTest, AboutReplacesTheContentUntilItsCloseButtonClearsTheModelsFlag) {
    open({SimDisplayConfig::builtinPanel()});
    click(part("aboutButton"));
    EXPECT_TRUE(model->showingAbout());
    EXPECT_TRUE(shows("about"));
    EXPECT_FALSE(shows("mainContent"));
    EXPECT_EQ(popover->sizeHint().width(), MenuPopoverView::kWidth);

    click(part<AboutView>("about").closeButton());
    EXPECT_FALSE(model->showingAbout());
    EXPECT_FALSE(shows("about"));
    EXPECT_TRUE(shows("mainContent"));
}

TEST_F(MenuPopoverViewTest, QuitTearsTheModelDownBeforeQuitting) {
    open({SimDisplayConfig::builtinPanel()});
    model->showHUD(1);
    ASSERT_TRUE(indicator()->onScreen);
    bool indicatorShownAtQuit = true;
    popover = std::make_unique<MenuPopoverView>(
        *model, [&] { indicatorShownAtQuit = indicator()->onScreen, ++quits; });
    click(part("quitButton"));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(indicatorShownAtQuit);
}

// Runs the event loop long enough for deferred paints to come due.
void settle() {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Counts the layout and paint work queued for any widget while it is installed.
class QueuedWidgetWork : public QObject {
  public:
    QueuedWidgetWork() { qApp->installEventFilter(this); }
    ~QueuedWidgetWork() override { qApp->removeEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        count += type == QEvent::LayoutRequest || type == QEvent::UpdateRequest ||
                 type == QEvent::UpdateLater;
        return false;
    }
};

TEST_F(MenuPopoverViewTest, APublicationThatChangesNothingShownQueuesNoWidgetWork) {
    open({SimDisplayConfig::boostPanel(), SimDisplayConfig::ddcMonitor("Dell")});
    settle();  // the first show's deferred paints
    {
        QueuedWidgetWork work;
        desktop.loop().advance(AppModel::kPollInterval * 3);  // three idle polls, each publishing
        settle();
        EXPECT_EQ(work.count, 0);
    }
    QueuedWidgetWork work;
    model->apply(20, model->displays().back().id);
    model->publish();
    settle();
    EXPECT_GT(work.count, 0);  // a change still reaches the widgets
}

}  // namespace
}  // namespace corvane::ui
