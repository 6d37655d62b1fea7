#include "display/XDROverlay.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::SimDisplaySpec;
using sim::SimOverlayRecord;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Seconds kTick{0.2};

class XDROverlayTest : public ::testing::Test {
protected:
    XDROverlayTest() : id(desktop.add(SimDisplaySpec::boostPanel())) {}

    const SimOverlayRecord* shown() { return desktop.overlays().shownOver(id); }
    std::size_t presents() {
        const SimOverlayRecord* record = shown();
        return record ? record->presentedFactors.size() : 0;
    }
    // The factor for `fraction` at `headroom`, as last presented.
    double factorFor(double headroom, double fraction) {
        desktop.setCurrentHeadroom(id, headroom);
        overlay->setBoost(fraction);
        EXPECT_EQ(shown()->presentedFactors.back(), overlay->factor());
        return overlay->factor();
    }

    sim::SimDesktop desktop;
    const Platform& platform = desktop.platform();
    DisplayID id;
    std::shared_ptr<XDROverlay> overlay = XDROverlay::make(platform, id);
};

TEST_F(XDROverlayTest, SupportedAbovePotentialHeadroomOfOneAndAHalf) {
    EXPECT_TRUE(XDROverlay::isSupported(platform, id));
    desktop.display(id).spec.potentialHeadroom = 1.5;
    EXPECT_FALSE(XDROverlay::isSupported(platform, id));
    desktop.display(id).spec.potentialHeadroom = 1.51;
    EXPECT_TRUE(XDROverlay::isSupported(platform, id));
    desktop.display(id).spec.potentialHeadroom = kNaN;
    EXPECT_FALSE(XDROverlay::isSupported(platform, id));

    SimDisplaySpec unnumbered = SimDisplaySpec::boostPanel();
    unnumbered.screenHasNumber = false;
    SimDisplaySpec headless = SimDisplaySpec::boostPanel();
    headless.hasScreen = false;
    EXPECT_FALSE(XDROverlay::isSupported(platform, desktop.add(unnumbered)));
    EXPECT_FALSE(XDROverlay::isSupported(platform, desktop.add(headless)));
}

TEST_F(XDROverlayTest, FactorFollowsTheCurrentHeadroom) {
    EXPECT_DOUBLE_EQ(factorFor(2.0, 0.5), 1.5);
    EXPECT_DOUBLE_EQ(factorFor(2.0, 1), 2.0);
    EXPECT_DOUBLE_EQ(factorFor(4.0, 1), 2.66);
    EXPECT_DOUBLE_EQ(factorFor(4.0, 0.5), 1.83);
    EXPECT_DOUBLE_EQ(factorFor(2.0, 1.4), 2.0);
    for (double headroom : {1.0, 0.5, kNaN}) EXPECT_EQ(factorFor(headroom, 1), 1.0);
}

TEST_F(XDROverlayTest, BuildsOnceAndShowsAfterTheFirstFrame) {
    overlay->setBoost(0.003);
    EXPECT_FALSE(overlay->isBuilt());
    EXPECT_TRUE(desktop.overlays().records().empty());

    overlay->setBoost(0.004);
    ASSERT_TRUE(overlay->isBuilt());
    const SimOverlayRecord* record = shown();
    ASSERT_NE(record, nullptr);
    const SimDisplaySpec& spec = desktop.display(id).spec;
    EXPECT_EQ(record->frame, (Rect{0, 0, spec.size.width, spec.size.height}));
    EXPECT_EQ(record->contentsScale, 2);
    EXPECT_EQ(record->drawableSize, (PixelSize{spec.size.width * 2, spec.size.height * 2}));
    EXPECT_EQ(record->alpha, 1);
    EXPECT_FALSE(record->presentedFactors.empty());

    overlay->setBoost(1);
    overlay->setBoost(0.5);
    EXPECT_EQ(desktop.overlays().records().size(), 1u);
    EXPECT_EQ(desktop.overlays().queueRequests(), 1);
}

TEST_F(XDROverlayTest, TearDownRemovesEverythingButTheQueue) {
    overlay->tearDown();
    EXPECT_EQ(overlay->factor(), 1);
    EXPECT_TRUE(desktop.overlays().records().empty());

    overlay->setBoost(1);
    ASSERT_EQ(desktop.loop().scheduledCount(), 1u);
    overlay->setBoost(0.003);
    EXPECT_FALSE(overlay->isBuilt());
    EXPECT_EQ(overlay->factor(), 1);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);

    overlay->setBoost(1);
    EXPECT_EQ(desktop.overlays().records().size(), 2u);
    EXPECT_NE(shown(), nullptr);
    EXPECT_EQ(desktop.overlays().queueRequests(), 1);
}

TEST_F(XDROverlayTest, NaNBoostIsIgnored) {
    overlay->setBoost(kNaN);
    EXPECT_FALSE(overlay->isBuilt());
    overlay->setBoost(1);
    overlay->setBoost(kNaN);
    EXPECT_TRUE(overlay->isBuilt());
    EXPECT_DOUBLE_EQ(overlay->factor(), 2.0);
}

TEST_F(XDROverlayTest, RepresentsEveryFifthOfASecondWithTheStoredFactor) {
    overlay->setBoost(1);
    std::size_t before = presents();
    desktop.setCurrentHeadroom(id, 4);
    desktop.loop().advance(kTick * 3);
    ASSERT_EQ(presents(), before + 3);
    EXPECT_EQ(shown()->presentedFactors.back(), 2.0);

    // A resolution change is picked up by the next frame.
    desktop.display(id).spec.size = {0, 0};
    desktop.loop().advance(kTick);
    EXPECT_EQ(shown()->frame, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(shown()->drawableSize, (PixelSize{2, 2}));

    const SimOverlayRecord* record = shown();
    overlay->tearDown();
    std::size_t presented = record->presentedFactors.size();
    desktop.loop().advance(kTick * 5);
    EXPECT_EQ(record->presentedFactors.size(), presented);
}

TEST_F(XDROverlayTest, DroppedOverlayIsNoLongerPresented) {
    overlay->setBoost(1);
    const SimOverlayRecord* record = shown();
    std::size_t presented = record->presentedFactors.size();
    overlay.reset();
    desktop.loop().advance(kTick * 2);
    EXPECT_EQ(record->presentedFactors.size(), presented);
}

TEST_F(XDROverlayTest, EmptyScreenGetsTheSmallestDrawable) {
    SimDisplaySpec spec = SimDisplaySpec::boostPanel();
    spec.size = {0, 0};
    DisplayID empty = desktop.add(spec);
    auto emptyOverlay = XDROverlay::make(platform, empty);
    emptyOverlay->setBoost(1);
    ASSERT_NE(desktop.overlays().shownOver(empty), nullptr);
    EXPECT_EQ(desktop.overlays().shownOver(empty)->drawableSize, (PixelSize{2, 2}));
    emptyOverlay->tearDown();
}

TEST_F(XDROverlayTest, StaysHiddenUntilAFrameIsDrawn) {
    desktop.overlays().setDrawableAvailable(false);
    overlay->setBoost(1);
    ASSERT_TRUE(overlay->isBuilt());
    const SimOverlayRecord* record = desktop.overlays().records().front().get();
    EXPECT_EQ(record->alpha, 0);
    desktop.loop().advance(kTick);
    EXPECT_EQ(record->alpha, 0);

    desktop.overlays().setDrawableAvailable(true);
    desktop.loop().advance(kTick);
    EXPECT_EQ(record->alpha, 1);
    EXPECT_EQ(record->presentedFactors, std::vector<double>{2.0});
}

TEST_F(XDROverlayTest, QueueFailureIsRememberedAndNothingIsShown) {
    desktop.overlays().setCanMakeQueue(false);
    overlay->setBoost(1);
    desktop.loop().advance(kTick * 3);
    overlay->setBoost(0.8);
    const SimOverlayRecord* record = desktop.overlays().records().front().get();
    EXPECT_EQ(record->alpha, 0);
    EXPECT_TRUE(record->presentedFactors.empty());
    EXPECT_EQ(desktop.overlays().queueRequests(), 1);
}

TEST_F(XDROverlayTest, NothingIsBuiltWithoutDeviceOrScreen) {
    desktop.overlays().setHasDevice(false);
    auto withoutDevice = XDROverlay::make(platform, id);
    withoutDevice->setBoost(1);
    EXPECT_FALSE(withoutDevice->isBuilt());
    EXPECT_EQ(desktop.overlays().queueRequests(), 0);

    desktop.overlays().setHasDevice(true);
    SimDisplaySpec headless = SimDisplaySpec::boostPanel();
    headless.hasScreen = false;
    auto withoutScreen = XDROverlay::make(platform, desktop.add(headless));
    withoutScreen->setBoost(1);
    EXPECT_FALSE(withoutScreen->isBuilt());
    EXPECT_EQ(withoutScreen->factor(), 1);
    EXPECT_TRUE(desktop.overlays().records().empty());
    EXPECT_EQ(desktop.loop().scheduledCount(), 0u);
}

}  // namespace
}  // namespace corvane
