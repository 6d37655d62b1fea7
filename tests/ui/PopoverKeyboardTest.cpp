#include <QAccessible>
#include <QKeyEvent>

#include "ui/AboutView.h"
#include "ui/CardScrollArea.h"
#include "ui/FocusRing.h"
#include "ui/GlowSlider.h"
#include "ui/Localization.h"
#include "ui/PopoverHeader.h"
#include "ui/PopoverTestSupport.h"
#include "ui/StepButton.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;

class PopoverKeyboardTest : public testing::PopoverFixture {
  protected:
    // A boost panel at 50 percent and a monitor at 50 percent, the popover open and active
    // with the keys going to it.
    void openActive() {
        open({SimDisplayConfig::boostPanel(), SimDisplayConfig::gammaOnlyMonitor("LG")}, {50, 50});
        activate();
    }
    // Presses `key` where the keyboard's input goes now.
    static bool press(int key) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return false;
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &up);
        return down.isAccepted();
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
};

TEST_F(PopoverKeyboardTest, TabWalksEveryControlTopToBottomWithARingAroundIt) {
    openActive();
    // The restore pill is unavailable, so it is passed over.
    std::vector<QWidget*> expected{&part("header"), &pill(BrightnessPreset::sdr),
                                   &pill(BrightnessPreset::nits1000), &pill(BrightnessPreset::peak),
                                   &toggle("syncRow")};
    for (DisplayID id : {1u, 2u})
        expected.insert(expected.end(),
                        {&card(id).minusButton(), &card(id).slider(), &card(id).plusButton()});
    for (const char* row : {"menuPercentRow", "menuNitsRow", "batteryRow", "launchAtLoginRow"})
        expected.push_back(&toggle(row));
    expected.insert(expected.end(), {&part("aboutButton"), &part("quitButton")});
    auto& ring = part<FocusRing>("");
    EXPECT_EQ(ring.target(), nullptr);
    const int outset = FocusRing::kOutset + 1;
    for (QWidget* control : expected) {
        press(Qt::Key_Tab);
        ASSERT_EQ(focused(), control) << control->metaObject()->className();
        ASSERT_EQ(ring.target(), control);
        EXPECT_TRUE(ring.geometry().contains(placed(*control)));
        EXPECT_FALSE(
            ring.geometry().adjusted(outset, outset, -outset, -outset).contains(placed(*control)));
    }
    // Round again to the header; Shift+Tab goes back.
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &part("header"));
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), &part("quitButton"));
}

// Every control is a PlainButton: Space, Return and Enter each press one, and what a press
// does is the mouse tests' (MenuPopoverViewTest, DisplayCardViewTest).
TEST_F(PopoverKeyboardTest, SpaceReturnAndEnterPressTheFocusedControlAndEscapeClosesAbout) {
    openActive();
    pill(BrightnessPreset::peak).setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_DOUBLE_EQ(percent(1), 100);

    // The header steps the presets: from peak to SDR.
    part("header").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_TRUE(pill(BrightnessPreset::sdr).isActive());

    toggle("syncRow").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Enter);
    EXPECT_TRUE(model->syncDisplays());

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
}

TEST_F(PopoverKeyboardTest, SliderKeysStepFinelyByPageAndToTheEndsAndTheWheelMovesIt) {
    openActive();
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
        EXPECT_EQ(indicatorShows(), ++shows) << "key " << key;
    }
    // A whole notch is a key step (PopoverScrollTest); half a notch moves half as far, and
    // the other display stays.
    testing::turnWheel(slider, 60);
    EXPECT_DOUBLE_EQ(percent(2), 3.125);
    EXPECT_DOUBLE_EQ(percent(1), 50);
}

TEST_F(PopoverKeyboardTest, AControlReachedByKeyboardScrollsIntoView) {
    const SimDisplayConfig monitor = SimDisplayConfig::gammaOnlyMonitor("Monitor");
    open({SimDisplayConfig::boostPanel(), monitor, monitor, monitor, monitor, monitor, monitor});
    popover->setHeightLimit(600);
    popover->resize(popover->sizeHint());
    activate();
    auto& list = part<CardScrollArea>("cardScroll");
    ASSERT_TRUE(list.scrolls());
    auto inView = [&](QWidget& control) {
        const QRect shown(control.mapTo(list.viewport(), QPoint(0, 0)), control.size());
        return list.viewport()->rect().contains(shown);
    };
    // Backwards from the first switch below the list: into the last card.
    GlowSlider& last = popover->cards().back()->slider();
    ASSERT_FALSE(inView(last));
    toggle("menuPercentRow").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Backtab);
    press(Qt::Key_Backtab);
    EXPECT_EQ(focused(), &last);
    EXPECT_TRUE(inView(last));
    EXPECT_EQ(part<FocusRing>("").target(), &last);
    // And forwards from the sync switch above it: back to the first card.
    toggle("syncRow").setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &popover->cards().front()->minusButton());
    EXPECT_TRUE(inView(popover->cards().front()->minusButton()));
}

// With a boost display the header is first in the Tab order
// (TabWalksEveryControlTopToBottomWithARingAroundIt).
TEST_F(PopoverKeyboardTest, HeaderDoesNothingAndTakesNoFocusWithoutABoostDisplay) {
    open({SimDisplayConfig::gammaOnlyMonitor("LG")}, {50});
    auto& header = part<PopoverHeader>("header");
    countPublications();
    testing::click(header);
    EXPECT_EQ(publications(), 0);
    EXPECT_FALSE(header.cycles());
    EXPECT_TRUE(header.toolTip().isEmpty());
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(&header);
    EXPECT_EQ(described->role(), QAccessible::StaticText);
    EXPECT_FALSE(described->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    activate();
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), &card(1).minusButton());

    // A boost display arrives: now the header steps presets and says so.
    desktop.add(SimDisplayConfig::boostPanel());
    model->refresh();
    EXPECT_TRUE(header.cycles());
    EXPECT_EQ(header.toolTip(), localized("preset.cycle"));
    EXPECT_EQ(described->role(), QAccessible::Button);
    described->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(popover->findChildren<PresetPill*>().front()->isActive());
}

}  // namespace
}  // namespace corvane::ui
