#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/dbus/LogindBacklightWriter.h"
#include "platform/linux/dbus/LogindWakeSignal.h"
#include "support/DBusMockCalls.h"
#include "support/PrivateSessionBus.h"

namespace corvane::linux_desktop {
namespace {

using corvane::testing::waitUntil;

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/auto");

struct RecordingWriter final : BacklightWriter {
    bool write(const BacklightDevice& device, std::uint64_t value) override {
        writes.emplace_back(device.name, value);
        return accepts;
    }
    bool accepts = true;
    std::vector<std::pair<std::string, std::uint64_t>> writes;
};

// python-dbusmock's login manager on a private bus of the test's.
class LogindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        connection = bus.connect("application");
        logind.setProcessEnvironment(bus.environment("/nonexistent"));
        logind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Debian installs python3-dbusmock for the system's interpreter.
        logind.start("timeout", {"120", "/usr/bin/python3", "-m", "dbusmock", "--session",
                                 "--template", "logind"});
        ASSERT_TRUE(logind.waitForStarted(10000));
        ASSERT_TRUE(
            waitUntil([&] { return connection.interface()->isServiceRegistered(kLogind).value(); },
                      std::chrono::seconds(15)))
            << "the logind mock did not come up (is python3-dbusmock installed?)";
    }
    void TearDown() override { corvane::testing::stopProcess(logind); }

    // Calls the mock's own interface (org.freedesktop.DBus.Mock) on a logind object.
    QDBusMessage callMock(const QString& path, const QString& method,
                          const QVariantList& arguments) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(kLogind, path, "org.freedesktop.DBus.Mock", method);
        message.setArguments(arguments);
        return connection.call(message);
    }
    // Whether the mock answered; when it did not, a failure says why.
    static bool replied(const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage) return true;
        ADD_FAILURE() << reply.errorMessage().toStdString();
        return false;
    }
    // A logind session "auto" (the caller's session) that accepts SetBrightness.
    bool addCallerSessionWithBrightness() {
        const QVariantList session{"auto", "seat0", 1000u, "user", true};
        const QVariantList method{"org.freedesktop.login1.Session", "SetBrightness", "ssu", "", ""};
        return replied(callMock(kManagerPath, "AddSession", session)) &&
               replied(callMock(kSessionPath, "AddMethod", method));
    }
    QList<QVariantList> brightnessCalls() {
        return corvane::testing::recordedCalls(
            callMock(kSessionPath, "GetMethodCalls", {"SetBrightness"}));
    }
    bool emitPrepareForSleep(bool beforeSleep) {
        return replied(callMock(
            kManagerPath, "EmitSignal",
            {"org.freedesktop.login1.Manager", "PrepareForSleep", "b", QVariantList{beforeSleep}}));
    }

    corvane::testing::PrivateSessionBus bus;
    QDBusConnection connection{QString()};
    QProcess logind;
};

TEST_F(LogindTest, BacklightCallsRunAsynchronouslyOnePerDeviceTheLatestLevelWinning) {
    const BacklightDevice panel{"/sys/class/backlight/intel_backlight", "intel_backlight", "raw"};
    RecordingWriter fallback;
    LogindBacklightWriter writer(connection, fallback);

    // No session to take the call yet: queued at once, then the fallback writes, and a refusal
    // does not tell the caller to give up on the backlight.
    fallback.accepts = false;
    EXPECT_TRUE(writer.write(panel, 300));
    EXPECT_TRUE(fallback.writes.empty()) << "nothing waits for the login manager";
    ASSERT_TRUE(waitUntil([&] { return fallback.writes.size() == 1; }));
    EXPECT_EQ(fallback.writes.back(), std::make_pair(std::string("intel_backlight"), 300ul));

    // Levels that come while a call is in flight: only the latest follows it.
    ASSERT_TRUE(addCallerSessionWithBrightness());
    for (std::uint64_t level : {420u, 430u, 440u, 450u}) EXPECT_TRUE(writer.write(panel, level));
    ASSERT_TRUE(waitUntil([&] { return brightnessCalls().size() == 2; }));
    const QList<QVariantList> calls = brightnessCalls();
    EXPECT_EQ(calls[0], (QVariantList{QStringLiteral("backlight"),
                                      QStringLiteral("intel_backlight"), quint32(420)}));
    EXPECT_EQ(calls[1][2], QVariant(quint32(450)));
    EXPECT_EQ(fallback.writes.size(), 1u);

    // Without a bus connection every write is the fallback's, at once: its refusal is the
    // answer. (LinuxDesktopTest's desktop, without a system bus, writes the level it is given.)
    LogindBacklightWriter offline(QDBusConnection(QStringLiteral("never-connected")), fallback);
    EXPECT_FALSE(offline.write(panel, 6));
}

TEST_F(LogindTest, OnlyTheResumeSignalReachesTheWakeObservers) {
    LogindWakeSignal wake(connection);
    ASSERT_TRUE(wake.subscribed());
    int first = 0;
    int second = 0;
    auto firstObserver = wake.observe([&] { ++first; });

    // Signals arrive in order: once the resume is seen, the earlier sleep notice was too.
    ASSERT_TRUE(emitPrepareForSleep(true));
    ASSERT_TRUE(emitPrepareForSleep(false));
    ASSERT_TRUE(waitUntil([&] { return first > 0; }));
    EXPECT_EQ(first, 1);

    firstObserver.reset();
    auto secondObserver = wake.observe([&] { ++second; });
    ASSERT_TRUE(emitPrepareForSleep(false));
    ASSERT_TRUE(waitUntil([&] { return second > 0; }));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

}  // namespace
}  // namespace corvane::linux_desktop
