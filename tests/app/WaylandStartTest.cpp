#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "support/PrivateSessionBus.h"
#include "app/DisplayBusService.h"
#include "platform/linux/FakeSysfs.h"

namespace corvane::app {
namespace {

using linux_desktop::testing::FakeSysfs;
using linux_desktop::testing::makeEdid;
using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

// An "X server" that only notes who connects: DISPLAY points at it over TCP, so any X
// connection the application opens shows up here (and never completes).
class XConnectionTrap {
  public:
    bool listen() {
        for (int display = 150; display < 200; ++display) {
            if (server_.listen(QHostAddress::LocalHost, quint16(6000 + display))) {
                display_ = QStringLiteral("127.0.0.1:%1").arg(display);
                return true;
            }
        }
        return false;
    }
    const QString& display() const { return display_; }
    bool connected() { return server_.hasPendingConnections() || server_.waitForNewConnection(0); }
    // Turns every connection away, so that a client waiting for the server's answer goes on.
    void close() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) socket->abort();
        server_.close();
    }

  private:
    QTcpServer server_;
    QString display_;
};

class WaylandStartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        ASSERT_TRUE(config.isValid());
        ASSERT_TRUE(trap.listen());
        const auto panel = sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 0, "Panel"));
        sysfs.backlight(panel, "intel_backlight", "raw", "600", "1200");
        sysfs.connector("card0-DP-2", makeEdid(0x10AC, 0xA0C1, 99, "DELL U2720Q"));
        observer = bus.connect(QStringLiteral("observer"));
    }
    void TearDown() override {
        corvane::testing::stopProcess(instance);
    }

    // The real desktop on the fake device tree, with Qt off screen and DISPLAY at the trap.
    void start(bool wayland) {
        QProcessEnvironment environment = bus.environment(config.path());
        environment.insert("CORVANE_SYSFS_ROOT", QString::fromStdString(sysfs.sysfs().string()));
        environment.insert("CORVANE_DEV_ROOT",
                           QString::fromStdString(sysfs.tree.path("dev").string()));
        environment.insert("DISPLAY", trap.display());
        if (wayland) environment.insert("WAYLAND_DISPLAY", "wayland-corvane-test");
        instance.setProcessEnvironment(environment);
        instance.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        instance.start(QStringLiteral("timeout"), {"120", QStringLiteral(CORVANE_DISPLAY_PATH)});
        ASSERT_TRUE(instance.waitForStarted(10000));
    }
    bool registered() {
        return observer.interface()->isServiceRegistered(DisplayBusService::kServiceName).value();
    }

    PrivateSessionBus bus;
    QTemporaryDir config;
    XConnectionTrap trap;
    FakeSysfs sysfs;
    QDBusConnection observer{QString()};
    QProcess instance;
};

TEST_F(WaylandStartTest, AWaylandSessionOpensNoXConnectionAndStillListsTheDisplays) {
    start(true);
    ASSERT_TRUE(waitUntil([&] { return registered(); }, std::chrono::seconds(30)));
    QProcess list;
    list.setProcessEnvironment(bus.environment(config.path()));
    list.start(QStringLiteral("timeout"),
               {"60", QStringLiteral(CORVANE_DISPLAY_PATH), "--list", "--json"});
    ASSERT_TRUE(list.waitForFinished(30000));
    EXPECT_EQ(list.exitCode(), 0);
    const QJsonArray displays = QJsonDocument::fromJson(list.readAllStandardOutput()).array();
    ASSERT_EQ(displays.size(), 2);
    // The panel's backlight works as ever; the monitor has neither DDC/CI here nor gamma.
    for (const QJsonValue& display : displays)
        EXPECT_EQ(display["path"].toString(),
                  display["isBuiltin"].toBool() ? "hardware" : "unavailable");
    EXPECT_EQ(instance.state(), QProcess::Running);
    EXPECT_FALSE(trap.connected());
}

// The trap sees an X11 session's connection: the test above would notice one.
TEST_F(WaylandStartTest, AnX11SessionDoesConnect) {
    start(false);
    EXPECT_TRUE(waitUntil([&] { return trap.connected(); }, std::chrono::seconds(30)));
    trap.close();
}

}  // namespace
}  // namespace corvane::app
