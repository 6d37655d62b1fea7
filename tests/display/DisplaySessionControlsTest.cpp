#include <gtest/gtest.h>

#include "display/DisplaySession.h"
#include "platform/sim/SimDesktop.h"
#include "support/RecordedDiagnostics.h"

namespace corvane {
namespace {

using sim::SimDisplayConfig;

class DisplaySessionControls : public ::testing::Test {
protected:
    std::unique_ptr<DisplaySession> session(DisplayID id) {
        AVServiceHandle service = desktop.registry().createAVService(desktop.display(id).proxyEntry);
        return std::make_unique<DisplaySession>(desktop.platform(), id, service);
    }
    // Set VCP Feature frames the monitor received (their length byte says three bytes follow).
    std::size_t brightnessWrites(DisplayID id) {
        std::size_t count = 0;
        for (const auto& frame : desktop.display(id).monitor->receivedFrames())
            if (frame.size() > 1 && frame[1] == 0x03) ++count;
        return count;
    }
    void storeLevel(DisplayID id, double level) {
        desktop.preferences().set(DisplaySession::storedLevelKey("display-" + std::to_string(id)),
                                  level);
    }

    sim::SimDesktop desktop;
};

TEST_F(DisplaySessionControls, AMonitorIsWrittenOnlyWhenTheLevelMovesOrTheWriteIsForced) {
    DisplayID id = desktop.add(SimDisplayConfig::ddcMonitor("Dell", {40, 100}));
    auto monitor = session(id);
    ASSERT_EQ(monitor->path(), ControlPath::ddc);
    monitor->apply(75, false, false);
    monitor->ddc()->waitUntilIdle();
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
    EXPECT_EQ(desktop.display(id).monitor->current(), 60);
}

TEST_F(DisplaySessionControls, ABacklightDrivesTheDisplayEvenWhenAMonitorAnswersToo) {
    SimDisplayConfig config = SimDisplayConfig::ddcMonitor("Dell", {30, 100});
    config.backlight = 0.5;
    DisplayID id = desktop.add(config);
    auto both = session(id);
    ASSERT_NE(both->ddc(), nullptr) << "the monitor's controller exists beside the backlight";
    EXPECT_EQ(both->path(), ControlPath::hardware);
    EXPECT_DOUBLE_EQ(both->percent(), 50) << "the backlight's reading comes before the monitor's";

    both->apply(70, false, false);
    both->ddc()->waitUntilIdle();
    EXPECT_FLOAT_EQ(*desktop.display(id).config.backlight, 0.7);
    EXPECT_EQ(brightnessWrites(id), 0u);
}

TEST_F(DisplaySessionControls, TheStartingLevelIsStoredThenBacklightThenMonitorThenDefault) {
    SimDisplayConfig config = SimDisplayConfig::ddcMonitor("Dell", {30, 100});
    config.backlight = 0.5;
    config.serial = 7;  // not the other monitor's backlight
    DisplayID both = desktop.add(config);
    DisplayID monitor = desktop.add(SimDisplayConfig::ddcMonitor("LG", {30, 100}));
    DisplayID dark = desktop.add(SimDisplayConfig::uncontrolledMonitor("TV"));
    EXPECT_DOUBLE_EQ(session(both)->percent(), 50);
    EXPECT_DOUBLE_EQ(session(monitor)->percent(), 30);
    EXPECT_DOUBLE_EQ(session(dark)->percent(), DisplaySession::kDefaultPercent);

    for (DisplayID id : {both, monitor, dark}) storeLevel(id, 66);
    for (DisplayID id : {both, monitor, dark}) EXPECT_DOUBLE_EQ(session(id)->percent(), 66) << id;
}

TEST_F(DisplaySessionControls, ControlsThatStopWorkingAreReportedOncePerEpisode) {
    testing::RecordedDiagnostics diagnostics;
    DisplayID id = desktop.add(SimDisplayConfig::builtinPanel("Panel", 0.5));
    auto panel = std::make_unique<DisplaySession>(desktop.platform(), id, nullptr);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::failing);
    desktop.displayConnect().setMatchingFails(true);
    for (double level : {20, 30, 40}) panel->apply(level, false, false);
    desktop.gamma().setWriteFails(true);
    for (double level : {50, 60}) panel->apply(level, false, false);
    desktop.gamma().setWriteFails(false);
    desktop.setEntryPoint(sim::EntryPoint::setBrightness, sim::EntryPointState::present);
    for (double level : {70, 80}) panel->apply(level, false, false);

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

}  // namespace
}  // namespace corvane
