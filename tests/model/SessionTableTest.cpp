#include <algorithm>

#include "support/ModelFixture.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using testing::ModelFixture;

class SessionTable : public ModelFixture {};

TEST_F(SessionTable, EveryRefreshRenamesAndFindsMonitorsThatArrivedLater) {
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.4));
    startModel();
    desktop.display(panel).config.name = "Renamed Panel";
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    model->refresh();
    ASSERT_EQ(model->displays().size(), 2u);
    EXPECT_EQ(model->displays()[0].name, "Renamed Panel");
    EXPECT_EQ(session(monitor).path(), ControlPath::ddc);
}

TEST_F(SessionTable, UnpluggingABoostDisplayTakesItsOverlayDown) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel());
    startModel();
    model->apply(90, xdr);
    std::shared_ptr<XDROverlay> overlay = session(xdr).xdr();
    ASSERT_TRUE(overlay && overlay->isBuilt());
    ASSERT_EQ(desktop.overlays().records().size(), 1u);

    desktop.unplug(xdr);
    model->refresh();
    EXPECT_FALSE(model->sessions().contains(xdr));
    EXPECT_FALSE(overlay->isBuilt());
    EXPECT_DOUBLE_EQ(overlay->factor(), 1);
    EXPECT_FALSE(desktop.overlays().records().front()->onScreen);
}

TEST_F(SessionTable, StartWritesEveryDisplayAgainAndStoresNothingItDidNotAskFor) {
    DisplayID monitor = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayID panel = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.3));
    startModel();
    // Once when the session is made, once more (forced) when the stored levels are applied.
    EXPECT_EQ(std::ranges::count(desktop.gamma().writes(), monitor,
                                 [](const auto& write) { return write.first; }),
              2);
    EXPECT_EQ(stored(DisplaySession::storedLevelKey(session(monitor).uuid())), std::nullopt);
    EXPECT_EQ(stored(DisplaySession::storedLevelKey(session(panel).uuid())), std::nullopt);
}

TEST_F(SessionTable, TheModelGoesWithItsLastOwnerEvenWhileItRuns) {
    desktop.add(SimDisplayConfig::builtinPanel());
    startModel();
    pressKey(sim::kBrightnessUpKeyCode);
    std::weak_ptr<AppModel> watched = model;
    model.reset();
    ASSERT_TRUE(watched.expired()) << "no handler keeps the model alive";
    pressKey(sim::kBrightnessUpKeyCode);
    desktop.notifications().postWake();
    desktop.loop().advance(Seconds(2));
}

}  // namespace
}  // namespace corvane
