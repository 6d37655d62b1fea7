#include <limits>

#include "ModelTest.h"
#include "model/DisplayCardActions.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class DisplayCardActionsTest : public testing::ModelTest {
protected:
    // A card built from the display's record as last published.
    DisplayCardActions card(DisplayID id) {
        for (const DisplaySnapshot& record : model->displays())
            if (record.id == id) return DisplayCardActions(*model, record);
        ADD_FAILURE() << "no published record for display " << id;
        return DisplayCardActions(*model, DisplaySnapshot{});
    }
};

TEST(SliderValue, MapsThePointerOntoTheScaleAndStaysOnIt) {
    EXPECT_DOUBLE_EQ(sliderValue(50, 200), 25);
    EXPECT_DOUBLE_EQ(sliderValue(200, 200), 100);
    EXPECT_DOUBLE_EQ(sliderValue(-20, 200), 0);
    EXPECT_DOUBLE_EQ(sliderValue(220, 200), 100);
    EXPECT_DOUBLE_EQ(sliderValue(std::numeric_limits<double>::infinity(), 200), 100);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double width : {0.0, -10.0, nan, std::numeric_limits<double>::infinity()})
        EXPECT_DOUBLE_EQ(sliderValue(10, width), 0) << "width " << width;
    EXPECT_DOUBLE_EQ(sliderValue(nan, 200), 0);
}

TEST_F(DisplayCardActionsTest, StepsStartFromTheLiveLevelShowTheIndicatorAndEndWithTheDisplay) {
    desktop.preferences().set("corvane.brightness.display-2", 3.0);
    auto [panel, monitor] = startWith(SimDisplayConfig::builtinPanel(),
                                      SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayCardActions stale = card(monitor);

    // That a step publishes and shows the indicator:
    // DisplayCardViewTest.StepButtonsMoveFromTheLiveLevelAndShowTheIndicator.
    card(monitor).minus();
    EXPECT_DOUBLE_EQ(intended(monitor), -3.25);
    EXPECT_DOUBLE_EQ(percent(monitor), 0);

    // A card still holding 3 percent steps from the session's 0, not from its own record.
    stale.plus();
    EXPECT_DOUBLE_EQ(percent(monitor), 6.25);
    EXPECT_EQ(stored("corvane.brightness.display-2"), PropertyValue(6.25));
    EXPECT_EQ(shown().percent, 6);

    // Steps on a display that left do nothing.
    const std::size_t shownCount = indicator()->contents.size();
    unplug(monitor);
    stale.plus();
    stale.minus();
    EXPECT_FALSE(model->intendedPercents().contains(monitor));
    EXPECT_EQ(indicator()->contents.size(), shownCount);
    EXPECT_EQ(model->displays().size(), 1u);
}

// Each move of a drag is applied and published without the indicator, and the release shows
// it: DisplayCardViewTest.DragAppliesAndPublishesEachMoveAndShowsTheIndicatorOnRelease.
TEST_F(DisplayCardActionsTest, ReleaseCommitsTheLevelOfTheCardsRecord) {
    auto [panel, monitor] = startWith(SimDisplayConfig::builtinPanel("Panel", 0.5),
                                      SimDisplayConfig::gammaOnlyMonitor("LG"));
    card(monitor).slide(75);
    // Something moves the level between the last publication and the release: the release
    // puts back the level of the record the card was built from.
    DisplayCardActions released = card(monitor);
    model->apply(10, monitor);
    released.release();
    EXPECT_DOUBLE_EQ(percent(monitor), 75);
    EXPECT_DOUBLE_EQ(percent(panel), 50);
}

}  // namespace
}  // namespace corvane
