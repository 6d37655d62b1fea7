#include <QAccessible>
#include <QLocale>

#include "ui/AboutView.h"
#include "ui/GlowSlider.h"
#include "ui/LinkRow.h"
#include "ui/Localization.h"
#include "ui/MiniSwitch.h"
#include "ui/PopoverTestSupport.h"
#include "ui/PresetPill.h"
#include "ui/SettingsRow.h"
#include "ui/StepButton.h"

namespace corvane::ui {
namespace {

using sim::SimDisplayConfig;

QAccessibleInterface& accessible(QWidget& widget) {
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(&widget);
    if (!found) throw std::runtime_error("no accessible interface");
    return *found;
}

QString nameOf(QWidget& widget) {
    return accessible(widget).text(QAccessible::Name);
}

class PopoverAccessibilityTest : public testing::PopoverFixture {};

TEST_F(PopoverAccessibilityTest, EveryControlHasANameAndTheRoleItActsAs) {
    desktop.add(SimDisplayConfig::boostPanel());
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    startModel();
    makePopover();
    EXPECT_EQ(nameOf(part("header")), QStringLiteral("Corvane Display"));
    EXPECT_EQ(accessible(part("header")).role(), QAccessible::Button);

    std::vector<QString> pillNames;
    for (PresetPill* pill : popover->findChildren<PresetPill*>()) {
        pillNames.push_back(nameOf(*pill));
        EXPECT_EQ(accessible(*pill).role(), QAccessible::Button);
    }
    EXPECT_EQ(pillNames, (std::vector{localized("preset.sdr"), localized("preset.1000"),
                                      localized("preset.1600"), localized("preset.restore")}));
    // The unavailable restore pill says so.
    EXPECT_TRUE(accessible(*popover->findChildren<PresetPill*>().back()).state().disabled);

    for (auto [row, key] : {std::pair{"syncRow", "settings.sync"},
                            {"menuPercentRow", "settings.menu_percent"},
                            {"menuNitsRow", "settings.menu_nits"},
                            {"batteryRow", "settings.battery"},
                            {"launchAtLoginRow", "settings.launch_at_login"}}) {
        MiniSwitch& toggle = part<SettingsRow>(row).toggle();
        EXPECT_EQ(nameOf(toggle), localized(key)) << row;
        EXPECT_EQ(accessible(toggle).role(), QAccessible::CheckBox) << row;
        EXPECT_TRUE(accessible(toggle).state().checkable) << row;
    }
    EXPECT_EQ(nameOf(part("aboutButton")), localized("about.title"));
    EXPECT_EQ(nameOf(part("quitButton")), localized("settings.quit"));

    for (DisplayCardView* card : popover->cards()) {
        EXPECT_EQ(nameOf(card->minusButton()), localized("card.decrease"));
        EXPECT_EQ(nameOf(card->plusButton()), localized("card.increase"));
    }
    auto& about = part<AboutView>("about");
    EXPECT_TRUE(nameOf(about.websiteRow()).startsWith(localized("about.developed")));
    EXPECT_TRUE(nameOf(about.contactRow()).startsWith(localized("about.contact")));
    EXPECT_EQ(nameOf(about.closeButton()), localized("about.close"));
}

TEST_F(PopoverAccessibilityTest, SwitchesReportTheirState) {
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("Dell"));
    startModel();
    makePopover();
    MiniSwitch& sync = part<SettingsRow>("syncRow").toggle();
    EXPECT_FALSE(accessible(sync).state().checked);
    model->setSyncDisplays(true);
    EXPECT_TRUE(accessible(sync).state().checked);
    // Pressed through the assistive tool, it flips the setting like a click.
    accessible(sync).actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(model->syncDisplays());
    EXPECT_FALSE(accessible(sync).state().checked);
}

TEST_F(PopoverAccessibilityTest, CardsAreGroupsNamedAfterTheirDisplayHoldingASliderWithItsLevel) {
    desktop.preferences().set("corvane.brightness.display-1", 37.5);
    desktop.add(SimDisplayConfig::gammaOnlyMonitor("Studio Display"));
    startModel();
    makePopover();
    DisplayCardView& display = card(1);
    QAccessibleInterface& group = accessible(display);
    EXPECT_EQ(group.role(), QAccessible::Grouping);
    EXPECT_EQ(group.text(QAccessible::Name), QStringLiteral("Studio Display"));

    QAccessibleInterface& slider = accessible(display.slider());
    EXPECT_EQ(slider.role(), QAccessible::Slider);
    EXPECT_EQ(slider.text(QAccessible::Name), QStringLiteral("Studio Display"));
    EXPECT_EQ(slider.parent()->object(), &display);
    EXPECT_EQ(slider.text(QAccessible::Value), localizedInteger("%lld%", 38));
    QAccessibleValueInterface* value = slider.valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 37.5);
    EXPECT_DOUBLE_EQ(value->minimumValue().toDouble(), 0);
    EXPECT_DOUBLE_EQ(value->maximumValue().toDouble(), 100);

    // Set through the assistive tool: applied to the display like a click on the slider.
    value->setCurrentValue(80.0);
    EXPECT_DOUBLE_EQ(percent(1), 80);
    EXPECT_EQ(slider.text(QAccessible::Value), localizedInteger("%lld%", 80));
    EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), 80);
    EXPECT_TRUE(indicator()->onScreen);
}

TEST_F(PopoverAccessibilityTest, NumbersShownAnywhereInThePopoverAreNotGrouped) {
    QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    desktop.preferences().set("corvane.brightness.display-1", 100.0);
    desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    makePopover();
    const QString shown = card(1).display().estimatedNits
                              ? QString::number(*card(1).display().estimatedNits)
                              : QString();
    ASSERT_GE(shown.size(), 4) << "a figure of four digits or more to show";
    EXPECT_TRUE(accessible(part("header")).text(QAccessible::Description).contains(shown));
    QLocale::setDefault(previous);
}

}  // namespace
}  // namespace corvane::ui
