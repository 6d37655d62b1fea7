#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "app/AppTestSupport.h"
#include "app/DisplayBusService.h"
#include "platform/linux/x11/XvfbServer.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// The application as users run it: an instance in the background and the command line
// talking to it, all on a session bus of the test's own.
class CommandLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        ASSERT_TRUE(config.isValid());
        observer = bus.connect(QStringLiteral("observer"));
    }
    void TearDown() override { corvane::testing::stopProcess(instance); }

    QProcessEnvironment environment() const { return bus.environment(config.path()); }
    bool instanceRegistered() { return hasService(observer, DisplayBusService::kServiceName); }
    // Starts an instance, without waiting for it to take the service name.
    void launchInstance(const QStringList& arguments, const QProcessEnvironment& environment) {
        instance.setProcessEnvironment(environment);
        instance.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        instance.start(QStringLiteral("timeout"),
                       QStringList{"120", QStringLiteral(CORVANE_DISPLAY_PATH)} + arguments);
        ASSERT_TRUE(instance.waitForStarted(10000));
    }
    void startInstance(const QStringList& arguments, const QProcessEnvironment& environment) {
        ASSERT_NO_FATAL_FAILURE(launchInstance(arguments, environment));
        ASSERT_TRUE(waitUntil([&] { return instanceRegistered(); }, std::chrono::seconds(30)));
    }
    Outcome run(const QStringList& arguments,
                std::optional<QProcessEnvironment> customEnvironment = std::nullopt) {
        QProcess process;
        process.setProcessEnvironment(customEnvironment.value_or(environment()));
        process.start(QStringLiteral("timeout"),
                      QStringList{"60", QStringLiteral(CORVANE_DISPLAY_PATH)} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(' ').toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QJsonArray list() {
        Outcome listed = run({QStringLiteral("--list"), QStringLiteral("--json")});
        EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
        return QJsonDocument::fromJson(listed.out.toUtf8()).array();
    }
    static QJsonObject named(const QJsonArray& displays, bool builtin) {
        for (const QJsonValue& display : displays)
            if (display[QStringLiteral("isBuiltin")].toBool() == builtin) return display.toObject();
        return {};
    }
    // The level the instance lists for the built-in display, or for the other one.
    double listedPercent(bool builtin) {
        return named(list(), builtin)[QStringLiteral("percent")].toDouble();
    }

    PrivateSessionBus bus;
    QTemporaryDir config;
    QDBusConnection observer{QString()};
    QProcess instance;
};

// --show with no instance running starts one; later commands reach it.
TEST_F(CommandLineTest, ShowStartsTheApplicationWhenNoneRunsAndCommandsReachIt) {
    startInstance({QStringLiteral("--simulate"), QStringLiteral("--show")}, environment());
    // The records' fields are DisplayBusServiceTest's; the command line prints them whole.
    const QString uuid = named(list(), false)[QStringLiteral("uuid")].toString();
    ASSERT_FALSE(uuid.isEmpty());

    EXPECT_EQ(run({"--set", "40", "--display", uuid}).status, 0);
    EXPECT_DOUBLE_EQ(listedPercent(false), 40);
    EXPECT_EQ(run({"--set", "50"}).status, 0);
    EXPECT_DOUBLE_EQ(listedPercent(true), 50);
    EXPECT_EQ(run({"--step", "down", "--fine"}).status, 0);
    EXPECT_DOUBLE_EQ(listedPercent(true), 49);
    EXPECT_EQ(run({"--preset", "peak"}).status, 0);
    EXPECT_DOUBLE_EQ(listedPercent(false), 100);

    Outcome plain = run({"--list"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains(uuid));

    // Refused by the instance: a failure with its reason.
    Outcome unknown = run({"--set", "10", "--display", "no-such-display"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_TRUE(unknown.err.contains("no-such-display")) << unknown.err.toStdString();

    // A second launch hands over to the running instance and ends at once. (With --show it
    // takes the same way: LaunchOptions makes both start the application.)
    EXPECT_EQ(run({}).status, 0);
    EXPECT_EQ(instance.state(), QProcess::Running);

    EXPECT_EQ(run({"--quit"}).status, 0);
    ASSERT_TRUE(instance.waitForFinished(15000));
    EXPECT_EQ(instance.exitCode(), 0);
}

TEST_F(CommandLineTest, BadArgumentsAreUsageErrorsAndCommandsNeedAnInstance) {
    const QStringList bad[] = {
        {"--step", "sideways"},    {"--set", "bright"}, {"--set", "nan"}, {"--set", "inf"},
        {"--preset", "brightest"}, {"--fine"},          {"--json"},       {"--display", "x"},
        {"--list", "--quit"},      {"--frobnicate"},    {"stray"},        {"--demo"}};
    for (const QStringList& arguments : bad) {
        Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.contains("--step <up|down>")) << arguments.join(' ').toStdString();
    }
    // No instance on this bus: a command says so and fails.
    for (const QStringList& arguments :
         {QStringList{"--list"}, QStringList{"--set", "10"}, QStringList{"--quit"}}) {
        Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.err.contains("not running")) << outcome.err.toStdString();
    }
    EXPECT_FALSE(instanceRegistered());
}

TEST_F(CommandLineTest, HelpAndVersionNeedNoDisplayServer) {
    QProcessEnvironment bare = environment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS"})
        bare.remove(QLatin1String(name));
    Outcome help = run({"--help"}, bare);
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--step", "--fine", "--set", "--display", "--preset", "--list",
                               "--json", "--show", "--quit", "--simulate", "--demo", "--version"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    Outcome version = run({"--version"}, bare);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("corvane-display 0.")) << version.out.toStdString();
}

// The X server keeps a client's gamma ramps after the client has gone: quitting must give the
// screens it dimmed their own ramps back.
TEST_F(CommandLineTest, QuitPutsBackTheRampsOfTheScreensItDimmed) {
    using linux_desktop::testing::haveProgram;
    using linux_desktop::testing::xrandrBrightness;
    if (!haveProgram("Xvfb") || !haveProgram("xrandr"))
        GTEST_SKIP() << "Xvfb or xrandr is not installed";
    linux_desktop::testing::XvfbServer server;
    ASSERT_TRUE(server.running()) << "Xvfb did not start";
    ASSERT_TRUE(linux_desktop::testing::runOn(
        server.display(), "xrandr --output screen --gamma 1:1:1 --brightness 1"));
    QTemporaryDir noHardware;  // a sysfs and a /dev without cards, backlights or buses
    QProcessEnvironment onX = environment();
    onX.insert(QStringLiteral("DISPLAY"), QString::fromStdString(server.display()));
    onX.insert(QStringLiteral("CORVANE_SYSFS_ROOT"), noHardware.path());
    onX.insert(QStringLiteral("CORVANE_DEV_ROOT"), noHardware.path());
    startInstance({}, onX);

    EXPECT_EQ(run({"--set", "40"}).status, 0);
    EXPECT_NEAR(xrandrBrightness(server.display()).value_or(0), 0.4 * 0.88 + 0.12, 0.01);
    EXPECT_EQ(run({"--quit"}).status, 0);
    ASSERT_TRUE(instance.waitForFinished(15000));
    EXPECT_NEAR(xrandrBrightness(server.display()).value_or(0), 1.0, 0.01);
}

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

// The real desktop on a fake laptop, with Qt off screen and DISPLAY at the trap.
class WaylandStartTest : public CommandLineTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CommandLineTest::SetUp());
        ASSERT_TRUE(trap.listen());
        addPanelAndMonitor(sysfs);
    }
    void launch(bool wayland) {
        QProcessEnvironment onFakeLaptop = environment();
        onFakeLaptop.insert("CORVANE_SYSFS_ROOT", QString::fromStdString(sysfs.sysfs().string()));
        onFakeLaptop.insert("CORVANE_DEV_ROOT",
                            QString::fromStdString(sysfs.tree.path("dev").string()));
        onFakeLaptop.insert("DISPLAY", trap.display());
        if (wayland) onFakeLaptop.insert("WAYLAND_DISPLAY", "wayland-corvane-test");
        launchInstance({}, onFakeLaptop);
    }

    XConnectionTrap trap;
    linux_desktop::testing::FakeSysfs sysfs;
};

TEST_F(WaylandStartTest, AWaylandSessionOpensNoXConnectionAndStillListsTheDisplays) {
    ASSERT_NO_FATAL_FAILURE(launch(true));
    ASSERT_TRUE(waitUntil([&] { return instanceRegistered(); }, std::chrono::seconds(30)));
    // How each display is driven on this laptop is LinuxDesktopTest's.
    EXPECT_EQ(list().size(), 2);
    EXPECT_EQ(instance.state(), QProcess::Running);
    EXPECT_FALSE(trap.connected());
}

// The trap sees an X11 session's connection: the test above would notice one.
TEST_F(WaylandStartTest, AnX11SessionDoesConnect) {
    ASSERT_NO_FATAL_FAILURE(launch(false));
    EXPECT_TRUE(waitUntil([&] { return trap.connected(); }, std::chrono::seconds(30)));
    trap.close();
}

}  // namespace
}  // namespace corvane::app
