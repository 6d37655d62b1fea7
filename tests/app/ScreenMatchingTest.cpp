#include <gtest/gtest.h>

#include "app/ScreenMatching.h"
#include "platform/linux/DrmConnectors.h"
#include "platform/linux/FakeTree.h"

namespace corvane::app {
namespace {

using linux_desktop::ConnectedDisplay;
using linux_desktop::parseEdid;
using linux_desktop::testing::makeEdid;

ConnectedDisplay display(DisplayID id, const std::string& connector,
                         const std::vector<std::uint8_t>& edid = {}) {
    ConnectedDisplay made;
    made.id = id;
    made.connector.sysfsName = "card1-" + connector;
    made.connector.name = connector;
    made.connector.edid = parseEdid(edid);
    return made;
}

ScreenIdentity named(const char* output) {
    ScreenIdentity screen;
    screen.name = QString::fromLatin1(output);
    return screen;
}

TEST(ScreenMatchingTest, ScreensFindTheirDisplayByOutputNameElseByEdidIdentity) {
    // 0x10AC is DEL, 0x1E6D is GSM.
    const std::vector<ConnectedDisplay> displays{
        display(1, "eDP-1"), display(2, "HDMI-A-1", makeEdid(0x10AC, 0xA0C1, 4242, "DELL U2720Q")),
        display(3, "DP-2", makeEdid(0x1E6D, 0x5B7F, 77))};
    auto idOf = [&](const ScreenIdentity& screen) {
        const ConnectedDisplay* found = matchDisplay(screen, displays);
        return found ? found->id : 0;
    };

    // Which spellings name the same output is OutputNamesTest's.
    EXPECT_EQ(idOf(named("eDP1")), 1u);
    EXPECT_EQ(idOf(named("HDMI-1")), 2u);
    EXPECT_EQ(idOf(named("DP-1")), 0u);

    // Another name (Wayland compositors, nested servers): the EDID as Qt spells it.
    EXPECT_EQ(idOf({"XWAYLAND0", "DEL", "DELL U2720Q", "4242"}), 2u);
    EXPECT_EQ(idOf({"XWAYLAND0", "Dell Inc.", "dell u2720q", "4242"}), 2u);
    EXPECT_EQ(idOf({"XWAYLAND1", "GSM", "5b7f", "77"}), 3u);
    EXPECT_EQ(idOf({"XWAYLAND1", "GSM", "23423", "77"}), 3u);
    EXPECT_EQ(idOf({"XWAYLAND1", "ACR", "5b7f", "77"}), 0u);
    EXPECT_EQ(idOf({"XWAYLAND1", "GSM", "5b7f", "78"}), 0u);
    EXPECT_EQ(idOf({"XWAYLAND1", "", "5b7f", "77"}), 0u);
    EXPECT_EQ(idOf({}), 0u);

    // NVIDIA's X driver numbers from 0: its "DP-1" shows the kernel's DP-2.
    std::vector<ConnectedDisplay> nvidia{display(4, "DP-1"), display(5, "DP-2")};
    nvidia[0].connector.randrOutput = "DP-0";
    nvidia[1].connector.randrOutput = "DP-1";
    EXPECT_EQ(matchDisplay(named("DP-1"), nvidia)->id, 5u);
    EXPECT_EQ(matchDisplay(named("DP-0"), nvidia)->id, 4u);
    EXPECT_EQ(matchDisplay(named("DP-2"), nvidia), nullptr);
}

}  // namespace
}  // namespace corvane::app
