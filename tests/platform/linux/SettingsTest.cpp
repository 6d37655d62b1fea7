#include <gtest/gtest.h>

#include "FakeSysfs.h"
#include "model/AppModel.h"
#include "platform/linux/SysfsPowerSources.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/linux/XdgPaths.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using testing::FakeTree;

TEST(SettingsTest, TheInternalBatteryDischargingMeansBatteryPower) {
    FakeTree tree;
    SysfsPowerSources power(tree.path("sys"));
    auto onBattery = [&] { return AppModel::onBattery(power); };
    auto supply = [&](const std::string& name, const std::string& type, const std::string& status,
                      const std::string& scope = {}) {
        const fs::path folder = "sys/class/power_supply/" + name;
        tree.write(folder / "type", type + "\n");
        tree.write(folder / "status", status + "\n");
        if (!scope.empty()) tree.write(folder / "scope", scope + "\n");
        return folder;
    };
    EXPECT_EQ(power.descriptions(), std::vector<std::optional<PropertyValue>>{});

    supply("AC", "Mains", "");
    supply("hidpp_battery_0", "Battery", "Discharging", "Device");
    EXPECT_FALSE(onBattery()) << "a mouse's battery";
    const fs::path bat1 = supply("BAT1", "Battery", "Discharging");
    const fs::path bat0 = supply("BAT0", "Battery", "Not charging", "System");
    EXPECT_EQ(power.descriptions(),
              std::vector<std::optional<PropertyValue>>{PropertyValue(Dictionary{
                  {"Type", "InternalBattery"}, {"Power Source State", "Battery Power"}})});
    tree.write(bat1 / "status", "Charging\n");
    EXPECT_FALSE(onBattery());
    tree.write(bat0 / "status", "Discharging\n");
    EXPECT_TRUE(onBattery());
    fs::remove(tree.path(bat0 / "status"));
    EXPECT_TRUE(onBattery()) << "read from the file as it was opened";
    EXPECT_FALSE(AppModel::onBattery(SysfsPowerSources(tree.path("sys")))) << "an unreadable status";
    tree.write(bat1 / "status", "Discharging\n");
    EXPECT_TRUE(onBattery());
    fs::remove(tree.path(bat1 / "type"));
    EXPECT_FALSE(AppModel::onBattery(SysfsPowerSources(tree.path("sys")))) << "an unreadable type";

    // Batteries that go away are no longer counted: no battery is mains power.
    fs::remove_all(tree.path(bat1));
    fs::remove_all(tree.path(bat0));
    EXPECT_EQ(power.descriptions(), std::vector<std::optional<PropertyValue>>{});
}

TEST(SettingsTest, ConfigHomeFollowsTheXdgRules) {
    std::map<std::string, std::string> variables;
    auto environment = [&](const char* name) -> std::optional<std::string> {
        auto it = variables.find(name);
        return it == variables.end() ? std::nullopt : std::optional(it->second);
    };
    std::optional<std::string> accountHome;
    auto passwordDatabase = [&] { return accountHome; };
    EXPECT_EQ(configHome(environment, passwordDatabase), std::nullopt)
        << "never a shared temporary folder";
    accountHome = "/var/lib/ada";
    EXPECT_EQ(configHome(environment, passwordDatabase), fs::path("/var/lib/ada/.config"));
    variables["HOME"] = "";
    EXPECT_EQ(configHome(environment, passwordDatabase), fs::path("/var/lib/ada/.config"));
    variables["HOME"] = "/home/ada";
    EXPECT_EQ(configHome(environment, passwordDatabase), fs::path("/home/ada/.config"));
    // An absolute XDG_CONFIG_HOME is taken (LinuxDesktopTest); a relative one is not.
    variables["XDG_CONFIG_HOME"] = "relative/config";
    EXPECT_EQ(configHome(environment), fs::path("/home/ada/.config"));
}

TEST(SettingsTest, AutostartEntryStartsThisExecutableWhileItIsSwitchedOn) {
    FakeTree tree;
    XdgAutostart item(tree.path("config/autostart"), "/opt/Corvane Display/bin/corvane-display");
    EXPECT_EQ(item.status(), LoginItem::Status::notRegistered);
    EXPECT_TRUE(item.unregisterItem());

    ASSERT_TRUE(item.registerItem());
    EXPECT_EQ(item.entryFile(), tree.path("config/autostart/corvane-display.desktop"));
    const std::string entry = tree.read("config/autostart/corvane-display.desktop");
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
    for (const char* line : {"\nType=Application\n", "\nName=Corvane Display\n",
                             "\nExec=\"/opt/Corvane Display/bin/corvane-display\"\n",
                             "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    EXPECT_EQ(item.status(), LoginItem::Status::enabled);

    const std::string header = "[Desktop Entry]\nExec=x\n";
    for (const char* off : {"Hidden=true", "X-GNOME-Autostart-enabled = false"}) {
        tree.write("config/autostart/corvane-display.desktop", header + off + "\n");
        EXPECT_EQ(item.status(), LoginItem::Status::notRegistered) << off;
    }
    tree.write("config/autostart/corvane-display.desktop",
               header + "Hidden=false\n[Desktop Action x]\nHidden=true\n");
    EXPECT_EQ(item.status(), LoginItem::Status::enabled);

    EXPECT_TRUE(item.unregisterItem());
    EXPECT_FALSE(fs::exists(item.entryFile()));
    EXPECT_EQ(item.status(), LoginItem::Status::notRegistered);

    tree.write("file", "");
    EXPECT_FALSE(XdgAutostart(tree.path("file/autostart"), "/bin/x").registerItem());

    XdgAutostart homeless({}, "/bin/x");  // no home folder: nowhere to register
    EXPECT_FALSE(homeless.registerItem());
    EXPECT_EQ(homeless.status(), LoginItem::Status::notRegistered);
    EXPECT_FALSE(fs::exists("autostart"));
}

}  // namespace
}  // namespace corvane::linux_desktop
