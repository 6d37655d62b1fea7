#include "display/XDROverlay.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;
using sim::SimOverlayRecord;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Seconds kTick{0.2};

class XDROverlayTest : public ::testing::Test {
protected:
    const SimOverlayRecord& built() { return *desktop.overlays().records().back(); }
    const SimOverlayRecord* shown() { return desktop.overlays().shownOver(id); }
    double factorFor(double headroom, double fraction) {
        desktop.setCurrentHeadroom(id, headroom);
        overlay->setBoost(fraction);
        EXPECT_EQ(built().presentedFactors.back(), overlay->factor());
        return overlay->factor();
    }
    DisplayID addPanel(void (*adjust)(SimDisplayConfig&)) {
        SimDisplayConfig config = SimDisplayConfig::boostPanel();
        adjust(config);
        return desktop.add(config);
    }

    sim::SimDesktop desktop;
    const Platform& platform = desktop.platform();
    DisplayID id = desktop.add(SimDisplayConfig::boostPanel());
    std::shared_ptr<XDROverlay> overlay = XDROverlay::make(platform, id);
};

TEST_F(XDROverlayTest, SupportedAbovePotentialHeadroomOfOneAndAHalf) {
    EXPECT_TRUE(XDROverlay::isSupported(platform, id));
    desktop.display(id).config.potentialHeadroom = 1.5;
    EXPECT_FALSE(XDROverlay::isSupported(platform, id));
    desktop.display(id).config.potentialHeadroom = 1.51;
    EXPECT_TRUE(XDROverlay::isSupported(platform, id));
    DisplayID unnumbered = addPanel([](SimDisplayConfig& config) { config.screenHasNumber = false; });
    EXPECT_FALSE(XDROverlay::isSupported(platform, unnumbered));
}

TEST_F(XDROverlayTest, FactorFollowsTheCurrentHeadroom) {
    EXPECT_DOUBLE_EQ(factorFor(2.0, 0.5), 1.5);
    EXPECT_DOUBLE_EQ(factorFor(2.0, 1), 2.0);
    EXPECT_DOUBLE_EQ(factorFor(4.0, 1), 2.66);
    EXPECT_DOUBLE_EQ(factorFor(4.0, 0.5), 1.83);
    EXPECT_DOUBLE_EQ(factorFor(2.0, 1.4), 2.0);
    for (double headroom : {1.0, 0.5, kNaN}) EXPECT_EQ(factorFor(headroom, 1), 1.0);
    overlay->setBoost(kNaN);
    EXPECT_EQ(overlay->factor(), 1.0);
    EXPECT_TRUE(overlay->isBuilt());
}

TEST_F(XDROverlayTest, BuildsOverTheScreenAndTearsDown) {
    overlay->tearDown();
    overlay->setBoost(0.003);
    EXPECT_TRUE(desktop.overlays().records().empty());

    overlay->setBoost(0.004);
    EXPECT_TRUE(overlay->isBuilt());
    overlay->setBoost(1);
    ASSERT_EQ(desktop.overlays().records().size(), 1u);
    EXPECT_EQ(shown(), &built());
    EXPECT_EQ(built().frame, (Rect{0, 0, 1512, 982}));
    EXPECT_EQ(built().contentsScale, 2);
    EXPECT_EQ(built().drawableSize, (PixelSize{3024, 1964}));
    EXPECT_EQ(built().alpha, 1);

    overlay->setBoost(0.003);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(overlay->factor(), 1);
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);
    overlay->setBoost(1);
    EXPECT_EQ(desktop.overlays().records().size(), 2u);
    EXPECT_EQ(desktop.overlays().queueRequests(), 1);
}

TEST_F(XDROverlayTest, RepresentsTheStoredFactorAndRefitsTheWindow) {
    overlay->setBoost(1);
    std::vector<double> expected = built().presentedFactors;
    expected.insert(expected.end(), 3, 2.0);
    desktop.setCurrentHeadroom(id, 4);
    desktop.loop().advance(kTick * 3);
    EXPECT_EQ(built().presentedFactors, expected);

    desktop.display(id).config.size = {0, 0};
    desktop.loop().advance(kTick);
    EXPECT_EQ(built().frame, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(built().drawableSize, (PixelSize{2, 2}));

    const SimOverlayRecord& record = built();
    overlay->tearDown();
    overlay->setBoost(1);
    overlay.reset();
    desktop.loop().advance(kTick * 5);
    EXPECT_EQ(record.presentedFactors.size(), expected.size() + 1);
    EXPECT_EQ(built().presentedFactors, (std::vector<double>{1, 2.66}));
}

TEST_F(XDROverlayTest, ShowsOnlyOnceAFrameIsDrawn) {
    desktop.overlays().setDrawableAvailable(false);
    overlay->setBoost(1);
    desktop.loop().advance(kTick);
    EXPECT_EQ(built().alpha, 0);
    desktop.overlays().setDrawableAvailable(true);
    desktop.loop().advance(kTick);
    EXPECT_EQ(built().alpha, 1);
    EXPECT_EQ(built().presentedFactors, std::vector<double>{2.0});

    auto other = XDROverlay::make(platform, addPanel([](SimDisplayConfig&) {}));
    desktop.overlays().setCanMakeQueue(false);
    other->setBoost(1);
    desktop.loop().advance(kTick * 3);
    EXPECT_EQ(built().alpha, 0);
    EXPECT_TRUE(built().presentedFactors.empty());
    EXPECT_EQ(desktop.overlays().queueRequests(), 2);
}

TEST_F(XDROverlayTest, NothingIsBuiltWithoutDeviceOrScreen) {
    desktop.overlays().setHasDevice(false);
    XDROverlay::make(platform, id)->setBoost(1);
    EXPECT_EQ(desktop.overlays().queueRequests(), 0);
    desktop.overlays().setHasDevice(true);

    auto headless =
        XDROverlay::make(platform, addPanel([](SimDisplayConfig& config) { config.hasScreen = false; }));
    headless->setBoost(1);
    EXPECT_FALSE(headless->isBuilt());
    EXPECT_EQ(headless->factor(), 1);
    EXPECT_TRUE(desktop.overlays().records().empty());
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);
}

}  // namespace
}  // namespace corvane
