#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/DisplaySession.h"
#include "platform/sim/SimDesktop.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class DisplaySessionTest : public ::testing::Test {
protected:
    std::unique_ptr<DisplaySession> session(DisplayID id, bool withDDC = false) {
        std::shared_ptr<DDCController> ddc;
        if (withDDC) {
            ddc = DDCController::make(desktop.platform(), id,
                                      desktop.registry().createAVService(desktop.display(id).proxyEntry));
            ddc->readFirst([](bool) {});
            desktop.loop().runPending();
        }
        return std::make_unique<DisplaySession>(desktop.platform(), id, ddc);
    }
    double backlight(DisplayID id) { return *desktop.display(id).config.backlight; }
    void storeLevel(DisplayID id, PropertyValue value) {
        desktop.preferences().set(
            DisplaySession::storedLevelKey(desktop.display(id).config.uuid.value_or(
                "display-" + std::to_string(id))),
            std::move(value));
    }
    std::optional<PropertyValue> storedLevel(const DisplaySession& s) {
        return desktop.preferences().object(DisplaySession::storedLevelKey(s.uuid()));
    }

    sim::SimDesktop desktop;
};

TEST_F(DisplaySessionTest, SplitsBoostLevelsAtTheTopOfTheStandardRange) {
    auto xdr = session(desktop.add(SimDisplayConfig::boostPanel()));
    ASSERT_TRUE(xdr->supportsXDR());
    EXPECT_EQ(xdr->sdrNits(), 600);
    EXPECT_EQ(xdr->peakNits(), 1600);
    EXPECT_NEAR(xdr->hardwareFraction(20), 0.5333333, 1e-6);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(20), 0);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(37.5), 1);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(37.5), 0);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(50), 1);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(50), 0.2);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(100), 1);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(180), 1);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(-3), 0);

    auto plain = session(desktop.add(SimDisplayConfig::builtinPanel()));
    EXPECT_FALSE(plain->supportsXDR());
    EXPECT_DOUBLE_EQ(plain->hardwareFraction(60), 0.6);
    EXPECT_DOUBLE_EQ(plain->boostFraction(60), 0);
    plain->apply(100, false, false);
    EXPECT_EQ(plain->xdr(), nullptr);
}

TEST_F(DisplaySessionTest, ChoosesTheControlByWhatTheDisplayHas) {
    DisplayID builtin = desktop.add(SimDisplayConfig::builtinPanel());
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {30, 100}));
    DisplayID gammaOnly = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG"));
    DisplayID dark = desktop.add(SimDisplayConfig::uncontrolledMonitor("TV"));

    EXPECT_EQ(session(builtin)->path(), ControlPath::hardware);
    EXPECT_EQ(session(monitor, true)->path(), ControlPath::ddc);
    EXPECT_EQ(session(monitor, false)->path(), ControlPath::software);
    EXPECT_EQ(session(gammaOnly)->path(), ControlPath::software);
    auto none = session(dark);
    EXPECT_EQ(none->path(), ControlPath::unavailable);
    EXPECT_DOUBLE_EQ(none->percent(), 80);
}

TEST_F(DisplaySessionTest, StartsFromTheStoredLevelElseWhatTheHardwareReads) {
    DisplayID xdr = desktop.add(SimDisplayConfig::boostPanel("XDR", 0.5));
    DisplayID builtin = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {30, 60}));
    EXPECT_DOUBLE_EQ(session(xdr)->percent(), 18.75);
    EXPECT_DOUBLE_EQ(session(builtin)->percent(), 50);
    EXPECT_DOUBLE_EQ(session(monitor, true)->percent(), 50);

    storeLevel(builtin, 55.0);
    EXPECT_DOUBLE_EQ(session(builtin)->percent(), 55);
    storeLevel(builtin, 140.0);  // taken as stored; the first apply clamps it
    EXPECT_DOUBLE_EQ(session(builtin)->percent(), 140);
}

TEST_F(DisplaySessionTest, StoredLevelsThatAreNotFiniteNumbersAreIgnored) {
    DisplayID builtin = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.25));
    for (PropertyValue junk : {PropertyValue("55"), PropertyValue(true), PropertyValue(),
                               PropertyValue(std::numeric_limits<double>::quiet_NaN()),
                               PropertyValue(std::numeric_limits<double>::infinity())}) {
        storeLevel(builtin, junk);
        EXPECT_DOUBLE_EQ(session(builtin)->percent(), 25);
    }
}

TEST_F(DisplaySessionTest, ApplyClampsStoresAndSkipsUnmovedHardware) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.9));
    auto panel = session(id);
    panel->apply(-5, true, false);
    EXPECT_DOUBLE_EQ(panel->percent(), 0);
    EXPECT_DOUBLE_EQ(backlight(id), 0);
    EXPECT_EQ(storedLevel(*panel), PropertyValue(0.0));

    // Moved by exactly 0.004: not written. By 0.0041: written.
    desktop.setBacklight(id, 0.7);
    panel->apply(0.4, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.7);
    EXPECT_EQ(storedLevel(*panel), PropertyValue(0.0));
    panel->apply(0.41, false, false);
    EXPECT_NEAR(backlight(id), 0.0041, 1e-7);

    desktop.setBacklight(id, 0.7);
    panel->apply(0.41, false, true);
    EXPECT_NEAR(backlight(id), 0.0041, 1e-7);

    panel->apply(140, true, false);
    EXPECT_EQ(storedLevel(*panel), PropertyValue(100.0));
    panel->apply(std::numeric_limits<double>::quiet_NaN(), true, true);
    EXPECT_DOUBLE_EQ(panel->percent(), 100);
}

TEST_F(DisplaySessionTest, TheFirstApplyAlwaysWritesTheHardware) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    auto panel = session(id);
    desktop.setBacklight(id, 0.2);
    panel->apply(50, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.5);
}

TEST_F(DisplaySessionTest, GammaIsRewrittenOnEveryApply) {
    DisplayID id = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG", 64));
    auto monitor = session(id);
    monitor->apply(50, false, false);
    monitor->apply(50, false, false);
    ASSERT_EQ(desktop.gamma().writeCount(), 2u);
    EXPECT_EQ(desktop.gamma().lastWrite()->second.red.size(), 64u);
    EXPECT_NEAR(desktop.gamma().factor(id), 0.56, 1e-6);
}

TEST_F(DisplaySessionTest, AFailedBacklightWriteFallsBackToGammaForGood) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    auto panel = session(id);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::failing);
    desktop.displayConnect().setMatchingFails(true);
    panel->apply(25, false, false);
    EXPECT_EQ(panel->path(), ControlPath::software);
    EXPECT_NEAR(desktop.gamma().factor(id), 0.25 * 0.88 + 0.12, 1e-6);

    // The backlight is tried first again, but the path never returns to hardware.
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::present);
    panel->apply(75, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.75);
    EXPECT_EQ(panel->path(), ControlPath::software);
}

TEST_F(DisplaySessionTest, WithoutAnyWorkingControlTheLevelIsKeptButNothingChanges) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    desktop.gamma().setWriteFails(true);
    auto panel = session(id);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::absent);
    desktop.displayConnect().setMatchingFails(true);
    panel->apply(30, true, false);
    EXPECT_DOUBLE_EQ(panel->percent(), 30);
    EXPECT_EQ(storedLevel(*panel), PropertyValue(30.0));
    EXPECT_DOUBLE_EQ(backlight(id), 0.5);
    EXPECT_EQ(panel->path(), ControlPath::hardware);
}

TEST_F(DisplaySessionTest, ADegradedMonitorMovesToGammaOrToNothing) {
    DisplayID withGamma = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    SimDisplayConfig bare = SimDisplayConfig::ddcMonitor("HP", {40, 100});
    bare.gammaLength.reset();
    DisplayID withoutGamma = desktop.add(bare);

    for (DisplayID id : {withGamma, withoutGamma}) {
        auto monitor = session(id, true);
        ASSERT_EQ(monitor->path(), ControlPath::ddc);
        desktop.display(id).monitor->refuseTransfers(true);
        for (int level = 10; level < 100 && monitor->path() == ControlPath::ddc; level += 10) {
            monitor->apply(level, false, false);
            monitor->ddc()->waitUntilIdle();
        }
        ASSERT_TRUE(monitor->ddc()->degraded());
        monitor->apply(monitor->percent() + 10, false, false);
        EXPECT_EQ(monitor->path(),
                  id == withGamma ? ControlPath::software : ControlPath::unavailable);
    }
}

TEST_F(DisplaySessionTest, DDCWritesReachTheMonitor) {
    DisplayID id = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    auto monitor = session(id, true);
    monitor->apply(75, true, false);
    monitor->ddc()->waitUntilIdle();
    EXPECT_EQ(desktop.display(id).monitor->current(), 75);
    EXPECT_EQ(desktop.gamma().writeCount(), 0u);
}

TEST_F(DisplaySessionTest, ReassertRewritesADriftedBacklightAndKeepsTheBoost) {
    DisplayID id = desktop.add(SimDisplayConfig::boostPanel("XDR", 0.5));
    auto xdr = session(id);
    xdr->apply(18.75, false, false);  // hardware 0.5
    desktop.setBacklight(id, 0.515);
    xdr->reassertIfDrifted();
    EXPECT_DOUBLE_EQ(backlight(id), 0.515);
    desktop.setBacklight(id, 0.516);
    xdr->reassertIfDrifted();
    EXPECT_DOUBLE_EQ(backlight(id), 0.5);
    ASSERT_NE(xdr->xdr(), nullptr);
    EXPECT_FALSE(xdr->xdr()->isBuilt());

    xdr->apply(50, false, false);
    ASSERT_TRUE(xdr->xdr()->isBuilt());
    desktop.setCurrentHeadroom(id, 3);
    xdr->reassertIfDrifted();
    EXPECT_NEAR(xdr->xdr()->factor(), 1 + 0.2 * 1.66, 1e-9);
}

TEST_F(DisplaySessionTest, TheBoostFollowsEveryApply) {
    DisplayID id = desktop.add(SimDisplayConfig::boostPanel());
    auto xdr = session(id);
    xdr->apply(100, false, false);
    ASSERT_TRUE(xdr->xdr()->isBuilt());
    EXPECT_DOUBLE_EQ(xdr->xdr()->factor(), 2);
    // 0.003 of the boost range tears the overlay down; 0.004 builds it again.
    xdr->apply(37.5 + 0.003 * 62.5, false, false);
    EXPECT_FALSE(xdr->xdr()->isBuilt());
    xdr->apply(37.5 + 0.0041 * 62.5, false, false);
    EXPECT_TRUE(xdr->xdr()->isBuilt());
}

TEST_F(DisplaySessionTest, NamesComeFromTheScreenElseTheLocalisedFallbacks) {
    SimDisplayConfig headless = SimDisplayConfig::ddcMonitor("Hidden");
    headless.hasScreen = false;
    DisplayID external = desktop.add(headless);
    SimDisplayConfig lid = SimDisplayConfig::builtinPanel("Lid");
    lid.hasScreen = false;
    DisplayID builtin = desktop.add(lid);
    DisplayID shown = desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG UltraFine"));
    desktop.localizer().set("display.external", "External Display");

    EXPECT_EQ(session(external)->name(), "External Display");
    EXPECT_EQ(session(builtin)->name(), "display.builtin");
    EXPECT_EQ(session(shown)->name(), "LG UltraFine");
}

}  // namespace
}  // namespace corvane
