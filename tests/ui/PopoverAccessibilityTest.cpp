#include <QAccessible>

#include "ui/AboutView.h"
#include "ui/GlowSlider.h"
#include "ui/LinkRow.h"
#include "ui/Localization.h"
#include "ui/PopoverTestSupport.h"
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

using PopoverAccessibilityTest = testing::PopoverFixture;

TEST_F(PopoverAccessibilityTest, EveryControlHasANameTheRoleItActsAsAndItsState) {
    open({SimDisplayConfig::boostPanel(), SimDisplayConfig::gammaOnlyMonitor("LG")});
    // The header's role is PopoverKeyboardTest's, with and without a boost display.
    EXPECT_EQ(nameOf(part("header")), QStringLiteral("Corvane Display"));

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
        EXPECT_EQ(nameOf(toggle(row)), localized(key)) << row;
        EXPECT_EQ(accessible(toggle(row)).role(), QAccessible::CheckBox) << row;
        EXPECT_TRUE(accessible(toggle(row)).state().checkable) << row;
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

    // Switches report their state; pressed through the assistive tool, one flips its setting
    // like a click.
    QAccessibleInterface& sync = accessible(toggle("syncRow"));
    EXPECT_FALSE(sync.state().checked);
    model->setSyncDisplays(true);
    EXPECT_TRUE(sync.state().checked);
    sync.actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(model->syncDisplays());
    EXPECT_FALSE(sync.state().checked);
}

TEST_F(PopoverAccessibilityTest, CardsAreGroupsNamedAfterTheirDisplayHoldingASliderWithItsLevel) {
    open({SimDisplayConfig::gammaOnlyMonitor("Studio Display")}, {37.5});
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

    // Set through the assistive tool: applied to the display like a click on the slider (the
    // card then shows the new level as after a drag, DisplayCardViewTest).
    value->setCurrentValue(80.0);
    EXPECT_DOUBLE_EQ(percent(1), 80);
    EXPECT_TRUE(indicator()->onScreen);
}

}  // namespace
}  // namespace corvane::ui
