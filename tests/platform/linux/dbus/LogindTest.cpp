#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LogindMock.h"
#include "platform/linux/dbus/LogindBacklightWriter.h"
#include "platform/linux/dbus/LogindWakeSignal.h"

namespace corvane::linux_desktop {
namespace {

using testing::LogindMock;
using testing::processEventsUntil;

struct RecordingWriter final : BacklightWriter {
    bool write(const BacklightDevice& device, std::uint64_t value) override {
        writes.emplace_back(device.name, value);
        return accepts;
    }
    bool accepts = true;
    std::vector<std::pair<std::string, std::uint64_t>> writes;
};

class LogindTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        mock = new LogindMock;
        started = mock->start();
    }
    static void TearDownTestSuite() {
        delete mock;
        mock = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(started) << mock->error().toStdString(); }

    static inline LogindMock* mock = nullptr;
    static inline bool started = false;
};

TEST_F(LogindTest, BacklightCallsRunAsynchronouslyOnePerDeviceTheLatestLevelWinning) {
    const BacklightDevice panel{"/sys/class/backlight/intel_backlight", "intel_backlight", "raw"};
    RecordingWriter fallback;
    LogindBacklightWriter writer(QDBusConnection::systemBus(), fallback);

    // No session to take the call yet: queued at once, then the fallback writes, and a refusal
    // does not tell the caller to give up on the backlight.
    fallback.accepts = false;
    EXPECT_TRUE(writer.write(panel, 300));
    EXPECT_TRUE(fallback.writes.empty()) << "nothing waits for the login manager";
    ASSERT_TRUE(processEventsUntil([&] { return fallback.writes.size() == 1; }));
    EXPECT_EQ(fallback.writes.back(), std::make_pair(std::string("intel_backlight"), 300ul));

    // Levels that come while a call is in flight: only the latest follows it.
    ASSERT_TRUE(mock->addCallerSessionWithBrightness()) << mock->error().toStdString();
    for (std::uint64_t level : {420u, 430u, 440u, 450u}) EXPECT_TRUE(writer.write(panel, level));
    ASSERT_TRUE(processEventsUntil([&] { return mock->brightnessCalls().size() == 2; }));
    const QList<QVariantList> calls = mock->brightnessCalls();
    EXPECT_EQ(calls[0], (QVariantList{QStringLiteral("backlight"),
                                      QStringLiteral("intel_backlight"), quint32(420)}));
    EXPECT_EQ(calls[1][2], QVariant(quint32(450)));
    EXPECT_EQ(fallback.writes.size(), 1u);

    // Without a bus connection every write is the fallback's, at once.
    fallback.accepts = true;
    LogindBacklightWriter offline(QDBusConnection(QStringLiteral("never-connected")), fallback);
    EXPECT_TRUE(offline.write(panel, 5));
    EXPECT_EQ(fallback.writes.back(), std::make_pair(std::string("intel_backlight"), 5ul));
    fallback.accepts = false;
    EXPECT_FALSE(offline.write(panel, 6));
}

TEST_F(LogindTest, OnlyTheResumeSignalReachesTheWakeObservers) {
    LogindWakeSignal wake(QDBusConnection::systemBus());
    ASSERT_TRUE(wake.subscribed());
    int first = 0;
    int second = 0;
    auto firstObserver = wake.observe([&] { ++first; });

    // Signals arrive in order: once the resume is seen, the earlier sleep notice was too.
    ASSERT_TRUE(mock->emitPrepareForSleep(true));
    ASSERT_TRUE(mock->emitPrepareForSleep(false));
    ASSERT_TRUE(processEventsUntil([&] { return first > 0; }));
    EXPECT_EQ(first, 1);

    firstObserver.reset();
    auto secondObserver = wake.observe([&] { ++second; });
    ASSERT_TRUE(mock->emitPrepareForSleep(false));
    ASSERT_TRUE(processEventsUntil([&] { return second > 0; }));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

}  // namespace
}  // namespace corvane::linux_desktop
