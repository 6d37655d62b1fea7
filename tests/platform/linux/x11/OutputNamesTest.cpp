#include <gtest/gtest.h>

#include "platform/linux/x11/BrightnessKeyEvents.h"
#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/RandROutputs.h"

namespace corvane::linux_desktop {
namespace {

TEST(OutputNamesTest, ConnectorAndOutputNamesMatchAcrossDriverSpellings) {
    EXPECT_TRUE(sameOutputName("eDP-1", "eDP1"));
    EXPECT_TRUE(sameOutputName("eDP-1", "eDP-1"));
    EXPECT_TRUE(sameOutputName("card0-eDP-1", "eDP1"));
    EXPECT_TRUE(sameOutputName("card1-HDMI-A-1", "HDMI-1"));
    EXPECT_TRUE(sameOutputName("HDMI-A-2", "HDMI2"));
    EXPECT_TRUE(sameOutputName("DP-1-1", "DP1-1"));
    EXPECT_TRUE(sameOutputName("DP-01", "dp1"));
    EXPECT_TRUE(sameOutputName("card0-screen", "screen"));

    EXPECT_FALSE(sameOutputName("eDP-1", "DP-1"));
    EXPECT_FALSE(sameOutputName("DP-1", "DP-2"));
    EXPECT_FALSE(sameOutputName("DP-11", "DP-1-1"));
    EXPECT_FALSE(sameOutputName("HDMI-B-1", "HDMI-1"));
    EXPECT_FALSE(sameOutputName("", ""));
    EXPECT_EQ(canonicalOutputName("card12-HDMI-A-3"), "hdmi-3");
}

TEST(OutputNamesTest, OutputsNoConnectorMatchesJoinAsStandIns) {
    DrmConnector panel;
    panel.sysfsName = "card0-eDP-1";
    panel.name = "eDP-1";
    panel.builtin = true;
    RandROutputs outputs;
    outputs.outputs = {
        RandROutput{"eDP1", 1, {}, 0, 0, 1920, 1080, false},
        RandROutput{"DP2", 2, std::vector<std::uint8_t>{1, 2, 3}, 1920, 0, 800, 600, true}};
    const std::vector<DrmConnector> merged = withRandROnlyOutputs({panel}, outputs);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].sysfsName, "card0-eDP-1");
    EXPECT_EQ(merged[1].sysfsName, "randr-DP2");
    EXPECT_EQ(merged[1].name, "DP2");
    EXPECT_FALSE(merged[1].builtin);
    EXPECT_FALSE(merged[1].edid);  // three bytes are no EDID
    EXPECT_TRUE(merged[1].path.empty());
    EXPECT_EQ(outputs.primaryName(), "DP2");

    // The stand-in gets an ID and a "display-<id>" UUID like any connector without an EDID.
    DisplayIdentities identities;
    const std::vector<ConnectedDisplay> displays = identities.identify(merged);
    EXPECT_NE(displays[1].id, 0u);
    EXPECT_EQ(displays[1].uuid, "display-" + std::to_string(displays[1].id));

    std::optional<std::string> primary = "DP2";
    auto chooser = primaryOutputChooser([&] { return primary; });
    EXPECT_EQ(chooser(displays), displays[1].id);
    primary.reset();
    EXPECT_EQ(chooser(displays), displays[0].id);  // the built-in panel
}

TEST(OutputNamesTest, BrightnessKeysBecomeSystemDefinedEvents) {
    const SystemEvent up = brightnessKeyEvent(kAuxBrightnessUp, KeyTransition::pressed, 0);
    EXPECT_EQ(up.type, kSystemDefinedEventType);
    EXPECT_EQ(up.subtype, kAuxControlButtonsSubtype);
    EXPECT_EQ(up.data1, 0x20A00);
    EXPECT_EQ(brightnessKeyEvent(kAuxBrightnessDown, KeyTransition::repeating, 0).data1, 0x30A01);
    EXPECT_EQ(brightnessKeyEvent(kAuxBrightnessDown, KeyTransition::released, 0).data1, 0x30B00);

    // Shift 0x1, Lock 0x2, Control 0x4, Mod1 0x8, Mod2 (Num Lock) 0x10, Mod4 0x40.
    EXPECT_EQ(modifierFlagsFromX(0x8), kOptionModifier);
    EXPECT_EQ(modifierFlagsFromX(0x1 | 0x4 | 0x40),
              kShiftModifier | kControlModifier | kCommandModifier);
    EXPECT_EQ(modifierFlagsFromX(0x2 | 0x10), 0u);
}

}  // namespace
}  // namespace corvane::linux_desktop
