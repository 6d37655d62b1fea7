#include <gtest/gtest.h>

#include "platform/linux/FakeTree.h"
#include "platform/linux/x11/BrightnessKeyEvents.h"
#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/RandROutputs.h"

namespace corvane::linux_desktop {
namespace {

TEST(OutputNamesTest, ConnectorAndOutputNamesMatchAcrossDriverSpellings) {
    const std::pair<const char*, const char*> same[] = {
        {"card0-eDP-1", "eDP1"}, {"card1-HDMI-A-1", "HDMI-1"},
        {"HDMI-A-2", "HDMI2"},   {"DP-1-1", "DP1-1"},
        {"DP-01", "dp1"},        {"card0-screen", "screen"}};
    for (const auto& [connector, output] : same)
        EXPECT_TRUE(sameOutputName(connector, output)) << connector << " " << output;
    const std::pair<const char*, const char*> different[] = {
        {"eDP-1", "DP-1"}, {"DP-1", "DP-2"}, {"DP-11", "DP-1-1"}, {"HDMI-B-1", "HDMI-1"}, {"", ""}};
    for (const auto& [connector, output] : different)
        EXPECT_FALSE(sameOutputName(connector, output)) << connector << " " << output;
}

// A connector as sysfs shows it.
DrmConnector connector(const std::string& sysfsName, std::optional<unsigned> id,
                       const std::vector<std::uint8_t>& edid = {}, bool enabled = true) {
    DrmConnector result;
    result.sysfsName = sysfsName;
    result.name = sysfsName.substr(sysfsName.find('-') + 1);
    result.builtin = isBuiltinConnectorName(result.name);
    result.connectorId = id;
    result.enabled = enabled;
    if (!edid.empty()) result.edid = parseEdid(edid);
    return result;
}

RandROutput output(const std::string& name, std::optional<unsigned> id,
                   const std::vector<std::uint8_t>& edid = {}) {
    RandROutput result;
    result.name = name;
    result.connectorId = id;
    if (!edid.empty()) result.edid = edid;
    return result;
}

std::vector<std::string> shownBy(const std::vector<DrmConnector>& merged) {
    std::vector<std::string> names;
    for (const DrmConnector& c : merged)
        names.push_back(c.sysfsName + ">" + c.randrOutput.value_or("none"));
    return names;
}

TEST(OutputNamesTest, OutputsPairWithConnectorsByIdThenEdidThenName) {
    using testing::makeEdid;
    const auto dell = makeEdid(0x10AC, 0xA0C1, 7, "DELL"), panel = makeEdid(0x09E5, 0x5DF, 0);
    // AMD's X driver numbers from 0 and says "eDP"; the CONNECTOR_ID properties tell.
    RandROutputs amd;
    amd.outputs = {output("eDP", 81, panel), output("HDMI-A-0", 88, dell),
                   output("DisplayPort-0", 95)};
    const auto laptop =
        withRandROutputs({connector("card0-DP-1", 95), connector("card0-HDMI-A-1", 88, dell),
                          connector("card0-eDP-1", 81, panel)},
                         amd);
    EXPECT_EQ(shownBy(laptop),
              (std::vector<std::string>{"card0-DP-1>DisplayPort-0", "card0-HDMI-A-1>HDMI-A-0",
                                        "card0-eDP-1>eDP"}));

    // Without CONNECTOR_ID (or with a file that is missing or no number) the EDID decides:
    // NVIDIA's "HDMI-0" and "DP-1" are not the kernel's names; a laptop with one monitor shows
    // two displays, never four.
    RandROutputs nvidia;
    nvidia.outputs = {output("DP-1", std::nullopt, panel), output("HDMI-0", std::nullopt, dell)};
    const auto hybrid = withRandROutputs(
        {connector("card1-HDMI-A-1", std::nullopt, dell, false), connector("card1-DP-1", {}, {}),
         connector("card0-eDP-1", std::nullopt, panel)},
        nvidia);
    EXPECT_EQ(shownBy(hybrid), (std::vector<std::string>{"card1-HDMI-A-1>HDMI-0", "card1-DP-1>none",
                                                         "card0-eDP-1>DP-1"}));
    EXPECT_TRUE(hybrid[0].enabled) << "shown by an output whatever the kernel says";

    // Identical EDIDs and clashing IDs (two cards) fall through to the names; an output nothing
    // matches joins as a stand-in, built-in when it is a bare "eDP", without the three bytes
    // of its EDID property (no EDID) and without a sysfs folder.
    RandROutputs twins;
    twins.outputs = {output("DP-2", 70, dell), output("DP-1", 70, dell),
                     output("eDP", {}, {1, 2, 3})};
    const auto pair = withRandROutputs(
        {connector("card0-DP-1", 70, dell), connector("card1-DP-2", 70, dell)}, twins);
    EXPECT_EQ(shownBy(pair),
              (std::vector<std::string>{"card0-DP-1>DP-1", "card1-DP-2>DP-2", "randr-eDP>eDP"}));
    EXPECT_EQ(pair[2].name, "eDP");
    EXPECT_TRUE(pair[2].builtin);
    EXPECT_FALSE(pair[2].edid);
    EXPECT_TRUE(pair[2].path.empty());

    // The main display is the one the primary output shows, else the built-in panel.
    twins.outputs[1].primary = true;
    std::optional<std::string> primary = twins.primaryName();
    const std::vector<ConnectedDisplay> displays = DisplayIdentities().identify(pair);
    auto chooser = primaryOutputChooser([&] { return primary; });
    EXPECT_EQ(chooser(displays), displays[0].id);
    primary.reset();
    EXPECT_EQ(chooser(displays), displays[2].id);

    EXPECT_TRUE(isBuiltinConnectorName("eDP"));
    EXPECT_TRUE(isBuiltinConnectorName("LVDS1"));
    EXPECT_FALSE(isBuiltinConnectorName("eDPX-1"));
}

// Presses and releases reach the core as the X server sends them (X11SystemEventStreamTest).
TEST(OutputNamesTest, HeldBrightnessKeysRepeatAndXModifiersBecomeTheCoresFlags) {
    EXPECT_EQ(brightnessKeyEvent(kAuxBrightnessDown, KeyTransition::repeating, 0).data1, 0x30A01);

    // Shift 0x1, Lock 0x2, Control 0x4, Mod1 0x8, Mod2 (Num Lock) 0x10, Mod4 0x40.
    EXPECT_EQ(modifierFlagsFromX(0x8), kOptionModifier);
    EXPECT_EQ(modifierFlagsFromX(0x1 | 0x4 | 0x40),
              kShiftModifier | kControlModifier | kCommandModifier);
    EXPECT_EQ(modifierFlagsFromX(0x2 | 0x10), 0u);
}

}  // namespace
}  // namespace corvane::linux_desktop
