#include "display/DisplaySession.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/sim/SimDesktop.h"
#include "support/RecordedDiagnostics.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class DisplaySessionTest : public ::testing::Test {
protected:
    // The display's session, with its monitor's controller (first reading taken) when the
    // display has a monitor that answers DDC/CI.
    std::unique_ptr<DisplaySession> session(DisplayID id) {
        AVServiceHandle service = desktop.registry().createAVService(desktop.display(id).proxyEntry);
        std::shared_ptr<DDCController> ddc;
        if (service) {
            ddc = DDCController::make(desktop.platform(), id, service);
            ddc->readFirst([](bool) {});
            desktop.loop().runPending();
        }
        return std::make_unique<DisplaySession>(desktop.platform(), id, ddc);
    }
    double backlight(DisplayID id) { return *desktop.display(id).config.backlight; }
    // The level stored for a display the platform knows no UUID for.
    std::string levelKey(DisplayID id) {
        return "corvane.brightness.display-" + std::to_string(id);
    }
    std::optional<PropertyValue> storedLevel(DisplayID id) {
        return desktop.preferences().object(levelKey(id));
    }
    // Set VCP Feature frames the monitor received (their length byte says three bytes follow).
    std::size_t brightnessWrites(DisplayID id) {
        std::size_t count = 0;
        for (const auto& frame : desktop.display(id).monitor->receivedFrames())
            if (frame.size() > 1 && frame[1] == 0x03) ++count;
        return count;
    }

    sim::SimDesktop desktop;
};

// The nits and the split's proportions within each range are pinned by the model and scenario
// tests (the battery cap at 37.5, the backlight below it, the boost factor); here, the edges.
TEST_F(DisplaySessionTest, SplitsBoostLevelsAtTheTopOfTheStandardRange) {
    auto xdr = session(desktop.add(SimDisplayConfig::boostPanel()));
    ASSERT_TRUE(xdr->supportsXDR());
    EXPECT_DOUBLE_EQ(xdr->boostFraction(20), 0);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(37.5), 1);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(37.5), 0);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(50), 1);
    EXPECT_DOUBLE_EQ(xdr->boostFraction(180), 1);
    EXPECT_DOUBLE_EQ(xdr->hardwareFraction(-3), 0);

    auto plain = session(desktop.add(SimDisplayConfig::builtinPanel()));
    plain->apply(100, false, false);
    EXPECT_EQ(plain->xdr(), nullptr);
}

// A backlight comes first (ABacklightDrivesTheDisplayEvenWhenAMonitorAnswersToo), then a
// monitor's controller (AMonitorIsWrittenOnlyWhenTheLevelMovesOrTheWriteIsForced).
TEST_F(DisplaySessionTest, ChoosesTheControlByWhatTheDisplayHas) {
    EXPECT_EQ(session(desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG")))->path(),
              ControlPath::software);
    EXPECT_EQ(session(desktop.add(SimDisplayConfig::uncontrolledMonitor("TV")))->path(),
              ControlPath::unavailable);
}

TEST_F(DisplaySessionTest, TheStartingLevelIsStoredThenBacklightThenMonitorThenDefault) {
    SimDisplayConfig config = SimDisplayConfig::ddcMonitor("Dell", {30, 100});
    config.backlight = 0.5;
    config.serial = 7;  // not the other monitor's backlight
    DisplayID both = desktop.add(config);
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("LG", {30, 60}));
    DisplayID dark = desktop.add(SimDisplayConfig::uncontrolledMonitor("TV"));
    EXPECT_DOUBLE_EQ(session(both)->percent(), 50) << "the backlight comes before the monitor";
    EXPECT_DOUBLE_EQ(session(monitor)->percent(), 50);  // 30 of at most 60
    EXPECT_DOUBLE_EQ(session(dark)->percent(), 80);
    // A boost panel's backlight read onto the standard range:
    // AppModelPower.ThePollAdoptsOnlyABuiltInPanelOnItsBacklightMovedFromOutside.

    for (DisplayID id : {both, monitor, dark}) desktop.preferences().set(levelKey(id), 66.0);
    for (DisplayID id : {both, monitor, dark}) EXPECT_DOUBLE_EQ(session(id)->percent(), 66) << id;
    desktop.preferences().set(levelKey(both), 140.0);  // taken as stored; the first apply clamps it
    EXPECT_DOUBLE_EQ(session(both)->percent(), 140);

    // Stored levels that are not finite numbers are ignored.
    for (PropertyValue junk : {PropertyValue("55"), PropertyValue(true), PropertyValue(),
                               PropertyValue(std::numeric_limits<double>::quiet_NaN()),
                               PropertyValue(std::numeric_limits<double>::infinity())}) {
        desktop.preferences().set(levelKey(both), junk);
        EXPECT_DOUBLE_EQ(session(both)->percent(), 50);
    }
}

TEST_F(DisplaySessionTest, ABacklightDrivesTheDisplayEvenWhenAMonitorAnswersToo) {
    SimDisplayConfig config = SimDisplayConfig::ddcMonitor("Dell", {30, 100});
    config.backlight = 0.5;
    DisplayID id = desktop.add(config);
    auto both = session(id);
    ASSERT_NE(both->ddc(), nullptr) << "the monitor's controller exists beside the backlight";
    EXPECT_EQ(both->path(), ControlPath::hardware);

    both->apply(70, false, false);
    both->ddc()->waitUntilIdle();
    EXPECT_FLOAT_EQ(backlight(id), 0.7);
    EXPECT_EQ(brightnessWrites(id), 0u);
}

TEST_F(DisplaySessionTest, ApplyClampsStoresAndSkipsUnmovedHardwareButAlwaysWritesFirst) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    auto panel = session(id);
    desktop.setBacklight(id, 0.2);
    panel->apply(50, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.5) << "the first apply writes the unmoved level";

    panel->apply(-5, true, false);
    EXPECT_DOUBLE_EQ(panel->percent(), 0);
    EXPECT_DOUBLE_EQ(backlight(id), 0);
    EXPECT_EQ(storedLevel(id), PropertyValue(0.0));

    // Moved by exactly 0.004: not written. By 0.0041: written.
    desktop.setBacklight(id, 0.7);
    panel->apply(0.4, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.7);
    EXPECT_EQ(storedLevel(id), PropertyValue(0.0));
    panel->apply(0.41, false, false);
    EXPECT_NEAR(backlight(id), 0.0041, 1e-7);

    // A forced write of an unmoved level:
    // AppModelLifecycle.StartWritesEveryDisplayAgainAndStoresNothingItDidNotAskFor.

    panel->apply(140, true, false);
    EXPECT_EQ(storedLevel(id), PropertyValue(100.0));
    panel->apply(std::numeric_limits<double>::quiet_NaN(), true, true);
    EXPECT_DOUBLE_EQ(panel->percent(), 100);
}

TEST_F(DisplaySessionTest, AMonitorIsWrittenOnlyWhenTheLevelMovesOrTheWriteIsForced) {
    DisplayID id = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    auto monitor = session(id);
    ASSERT_EQ(monitor->path(), ControlPath::ddc);
    monitor->apply(75, false, false);
    monitor->ddc()->waitUntilIdle();
    EXPECT_EQ(desktop.display(id).monitor->current(), 75);
    const std::size_t perWrite = brightnessWrites(id);
    ASSERT_GE(perWrite, 1u);

    monitor->apply(75, false, false);
    monitor->apply(75.3, false, false);  // a move of 0.003 of the scale
    monitor->ddc()->waitUntilIdle();
    EXPECT_EQ(brightnessWrites(id), perWrite) << "unmoved levels are not sent again";

    monitor->apply(75.3, false, true);
    monitor->ddc()->waitUntilIdle();
    EXPECT_EQ(brightnessWrites(id), 2 * perWrite) << "a forced write is sent";
    monitor->apply(60, false, false);
    monitor->ddc()->waitUntilIdle();
    EXPECT_EQ(brightnessWrites(id), 3 * perWrite);
    EXPECT_EQ(desktop.gamma().writeCount(), 0u);
}

TEST_F(DisplaySessionTest, GammaIsRewrittenOnEveryApply) {
    auto monitor = session(desktop.add(SimDisplayConfig::gammaOnlyMonitor("LG")));
    monitor->apply(50, false, false);
    monitor->apply(50, false, false);
    EXPECT_EQ(desktop.gamma().writeCount(), 2u);
}

TEST_F(DisplaySessionTest, AFailedBacklightFallsBackToGammaForGoodAndEachTroubleIsReportedOnce) {
    testing::RecordedDiagnostics diagnostics;
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    auto panel = session(id);
    // Neither the backlight functions nor the display's service can write the backlight.
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::failing);
    desktop.displayConnect().setMatchingFails(true);
    for (double level : {20, 30, 25}) panel->apply(level, false, false);
    EXPECT_EQ(panel->path(), ControlPath::software);
    EXPECT_NEAR(desktop.gamma().factor(id), 0.25 * 0.88 + 0.12, 1e-6);
    desktop.gamma().setWriteFails(true);
    for (double level : {50, 60}) panel->apply(level, false, false);
    desktop.gamma().setWriteFails(false);

    // The backlight is tried first again, but the path never returns to hardware.
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::present);
    for (double level : {70, 75}) panel->apply(level, false, false);
    EXPECT_DOUBLE_EQ(backlight(id), 0.75);
    EXPECT_EQ(panel->path(), ControlPath::software);

    // Reported once per episode: when a control stops working and when it works again.
    std::vector<std::pair<DiagnosticTopic, DiagnosticLevel>> heard;
    for (const auto& line : diagnostics.lines()) heard.emplace_back(line.topic, line.level);
    EXPECT_EQ(heard, (std::vector<std::pair<DiagnosticTopic, DiagnosticLevel>>{
                         {DiagnosticTopic::backlight, DiagnosticLevel::warning},
                         {DiagnosticTopic::gamma, DiagnosticLevel::warning},
                         {DiagnosticTopic::backlight, DiagnosticLevel::info}}));
    EXPECT_EQ(diagnostics.count(DiagnosticTopic::backlight, DiagnosticLevel::warning,
                                "display " + std::to_string(id) + " backlight"),
              1u);
}

TEST_F(DisplaySessionTest, WithoutAnyWorkingControlTheLevelIsKeptButNothingChanges) {
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    desktop.gamma().setWriteFails(true);
    auto panel = session(id);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::absent);
    desktop.displayConnect().setMatchingFails(true);
    panel->apply(30, true, false);
    EXPECT_DOUBLE_EQ(panel->percent(), 30);
    EXPECT_EQ(storedLevel(id), PropertyValue(30.0));
    EXPECT_DOUBLE_EQ(backlight(id), 0.5);
    EXPECT_EQ(panel->path(), ControlPath::hardware);
}

TEST_F(DisplaySessionTest, ADegradedMonitorMovesToGammaOrToNothing) {
    DisplayID withGamma = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    SimDisplayConfig bare = SimDisplayConfig::ddcMonitor("HP", {40, 100});
    bare.gammaLength.reset();
    DisplayID withoutGamma = desktop.add(bare);

    for (DisplayID id : {withGamma, withoutGamma}) {
        auto monitor = session(id);
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

// That every apply moves the boost, even with the backlight unmoved, is checked by
// ScenarioFiles.TheBatteryLimitCapsABoostPanelUntilMainsPower.
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

// A display with a screen takes the screen's name:
// AppModelPublication.ListsBuiltInThenMainThenByNameIgnoringCase.
TEST_F(DisplaySessionTest, NamesComeFromTheScreenElseTheLocalisedFallbacks) {
    SimDisplayConfig headless = SimDisplayConfig::ddcMonitor("Hidden");
    headless.hasScreen = false;
    DisplayID external = desktop.add(headless);
    SimDisplayConfig lid = SimDisplayConfig::builtinPanel("Lid");
    lid.hasScreen = false;
    DisplayID builtin = desktop.add(lid);
    desktop.localizer().set("display.external", "External Display");

    EXPECT_EQ(session(external)->name(), "External Display");
    EXPECT_EQ(session(builtin)->name(), "display.builtin");
}

}  // namespace
}  // namespace corvane
