#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "ui/AboutView.h"
#include "ui/CardScrollArea.h"
#include "ui/FocusRing.h"
#include "ui/GlowSlider.h"
#include "ui/Localization.h"
#include "ui/MiniSwitch.h"
#include "ui/PopoverHeader.h"
#include "ui/PopoverTestSupport.h"
#include "ui/PresetPill.h"
#include "ui/SettingsRow.h"
#include "ui/StepButton.h"
#include "ui/TextButton.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;

class PopoverKeyboardTest : public testing::PopoverFixture {
  protected:
    // A boost panel at 50 percent and a monitor at 50 percent, the popover open and active
    // with the keys going to it.
    void open() {
        desktop.preferences().set("corvane.brightness.display-1", 50.0);
        desktop.preferences().set("corvane.brightness.display-2", 50.0);
        desktop.add(SimDisplayConfig::boostPanel());
        desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
        startModel();
        makePopover();
        QApplication::setActiveWindow(popover.get());
        popover->setFocus(Qt::PopupFocusReason);
        QCoreApplication::processEvents();
    }
    // Presses `key` where the keyboard's input goes now.
    static bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return false;
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(target, &up);
        return down.isAccepted();
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
    PresetPill& pill(BrightnessPreset preset) {
        for (PresetPill* pill : popover->findChildren<PresetPill*>())
            if (pill->preset() == preset) return *pill;
        throw std::runtime_error("no pill");
    }
    QWidget* toggle(const char* row) { return &part<SettingsRow>(row).toggle(); }
    int indicatorShows() {
        return indicator() ? static_cast<int>(indicator()->contents.size()) : 0;
    }
};

TEST_F(PopoverKeyboardTest, TabWalksEveryControlTopToBottomWithARingAroundIt) {
    open();
    DisplayCardView& panel = card(1);
    DisplayCardView& monitor = card(2);
    // The restore pill is unavailable, so it is passed over.
    const std::vector<QWidget*> expected{&part("header"),
                                         &pill(BrightnessPreset::sdr),
                                         &pill(BrightnessPreset::nits1000),
                                         &pill(BrightnessPreset::peak),
                                         toggle("syncRow"),
                                         &panel.minusButton(),
                                         &panel.slider(),
                                         &panel.plusButton(),
                                         &monitor.minusButton(),
                                         &monitor.slider(),
                                         &monitor.plusButton(),
                                         toggle("menuPercentRow"),
                                         toggle("menuNitsRow"),
                                         toggle("batteryRow"),
                                         toggle("launchAtLoginRow"),
                                         &part("aboutButton"),
                                         &part("quitButton")};
    auto& ring = part<FocusRing>("");
    EXPECT_EQ(ring.target(), nullptr);
    for (QWidget* control : expected) {
        press(Qt::Key_Tab);
        ASSERT_EQ(focused(), control) << control->metaObject()->className();
        ASSERT_EQ(ring.target(), control);
        const QRect around(control->mapTo(popover.get(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(ring.geometry().contains(around));
        EXPECT_FALSE(ring.geometry()
                         .adjusted(FocusRing::kOutset + 1, FocusRing::kOutset + 1,
                                   -FocusRing::kOutset - 1, -FocusRing::kOutset - 1)
                         .contains(around));
    }
    // Round again to the header; Shift+Tab goes back.
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &part("header"));
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), &part("quitButton"));
}

TEST_F(PopoverKeyboardTest, SpaceAndEnterPressButtonsPillsAndSwitches) {
    open();
    pill(BrightnessPreset::peak).setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_DOUBLE_EQ(percent(1), 100);

    // The header steps the presets: from peak to SDR.
    part("header").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_TRUE(pill(BrightnessPreset::sdr).isActive());

    toggle("syncRow")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Enter);
    EXPECT_TRUE(model->syncDisplays());
    press(Qt::Key_Space);
    EXPECT_FALSE(model->syncDisplays());

    const double level = percent(2);
    card(2).minusButton().setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(percent(2), level - 6.25);

    // The About panel opens from the keyboard, and Escape closes it.
    part("aboutButton").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_TRUE(model->showingAbout());
    part<AboutView>("about").closeButton().setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(press(Qt::Key_Escape));
    EXPECT_FALSE(model->showingAbout());
    // On the main content Escape is left to the window, which closes.
    part("quitButton").setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(press(Qt::Key_Escape));
    EXPECT_EQ(quits, 0);
    press(Qt::Key_Enter);
    EXPECT_EQ(quits, 1);
}

TEST_F(PopoverKeyboardTest, SliderKeysStepFinelyByPageAndToTheEndsAndTheWheelMovesIt) {
    open();
    GlowSlider& slider = card(2).slider();
    slider.setFocus(Qt::TabFocusReason);
    const std::vector<std::pair<int, double>> steps{
        {Qt::Key_Right, 51},     {Qt::Key_Up, 52},       {Qt::Key_Left, 51}, {Qt::Key_Down, 50},
        {Qt::Key_PageUp, 56.25}, {Qt::Key_PageDown, 50}, {Qt::Key_End, 100}, {Qt::Key_Up, 100},
        {Qt::Key_Home, 0},       {Qt::Key_Down, 0}};
    int shows = indicatorShows();
    for (auto [key, level] : steps) {
        press(key);
        EXPECT_DOUBLE_EQ(percent(2), level) << "key " << key;
        EXPECT_DOUBLE_EQ(slider.value(), level) << "key " << key;
        EXPECT_EQ(indicatorShows(), ++shows) << "key " << key;
    }
    // One notch up raises the level by a key step; the other display stays.
    auto wheel = [&](int delta) {
        QWheelEvent event(slider.rect().center(), slider.mapToGlobal(slider.rect().center()),
                          QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&slider, &event);
    };
    wheel(120);
    EXPECT_DOUBLE_EQ(percent(2), 6.25);
    wheel(-60);
    EXPECT_DOUBLE_EQ(percent(2), 3.125);
    EXPECT_DOUBLE_EQ(percent(1), 50);
}

TEST_F(PopoverKeyboardTest, AControlReachedByKeyboardScrollsIntoView) {
    desktop.add(SimDisplayConfig::boostPanel());
    for (int i = 0; i < 6; ++i) desktop.add(SimDisplayConfig::gammaOnlyMonitor("Monitor"));
    startModel();
    makePopover();
    popover->setHeightLimit(600);
    popover->resize(popover->sizeHint());
    QApplication::setActiveWindow(popover.get());
    QCoreApplication::processEvents();
    auto& list = part<CardScrollArea>("cardScroll");
    ASSERT_TRUE(list.scrolls());
    auto inView = [&](QWidget& control) {
        const QRect shown(control.mapTo(list.viewport(), QPoint(0, 0)), control.size());
        return list.viewport()->rect().contains(shown);
    };
    // Backwards from the first switch below the list: into the last card.
    GlowSlider& last = popover->cards().back()->slider();
    ASSERT_FALSE(inView(last));
    toggle("menuPercentRow")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Backtab);
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), &last);
    EXPECT_TRUE(inView(last));
    EXPECT_EQ(part<FocusRing>("").target(), &last);
    // And forwards from the sync switch above it: back to the first card.
    toggle("syncRow")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &popover->cards().front()->minusButton());
    EXPECT_TRUE(inView(popover->cards().front()->minusButton()));
}

TEST_F(PopoverKeyboardTest, HeaderTakesNoFocusAndPromisesNothingWithoutABoostDisplay) {
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    makePopover();
    auto& header = part<PopoverHeader>("header");
    EXPECT_FALSE(header.cycles());
    EXPECT_TRUE(header.toolTip().isEmpty());
    EXPECT_EQ(header.focusPolicy(), Qt::NoFocus);
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&header);
    EXPECT_EQ(described->role(), QAccessible::StaticText);
    EXPECT_FALSE(described->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    QApplication::setActiveWindow(popover.get());
    popover->setFocus(Qt::PopupFocusReason);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &card(1).minusButton());

    // A boost display arrives: now the header steps presets and says so.
    desktop.add(SimDisplayConfig::boostPanel());
    model->refresh();
    EXPECT_TRUE(header.cycles());
    EXPECT_EQ(header.toolTip(), localized("preset.cycle"));
    EXPECT_TRUE(header.focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(described->role(), QAccessible::Button);
    described->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(popover->findChildren<PresetPill*>().front()->isActive());
}

}  // namespace
}  // namespace corvane::ui
