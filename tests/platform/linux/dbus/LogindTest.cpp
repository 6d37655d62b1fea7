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

TEST_F(LogindTest, BacklightGoesThroughTheCallerSessionElseToTheFallback) {
    const BacklightDevice panel{"/sys/class/backlight/intel_backlight", "intel_backlight", "raw"};
    RecordingWriter fallback;
    LogindBacklightWriter writer(QDBusConnection::systemBus(), fallback);

    // No session to take the call yet: the fallback decides.
    EXPECT_TRUE(writer.write(panel, 300));
    fallback.accepts = false;
    EXPECT_FALSE(writer.write(panel, 310));
    EXPECT_EQ(fallback.writes.size(), 2u);

    ASSERT_TRUE(mock->addCallerSessionWithBrightness()) << mock->error().toStdString();
    EXPECT_TRUE(writer.write(panel, 420));
    EXPECT_EQ(fallback.writes.size(), 2u);
    const QList<QVariantList> calls = mock->brightnessCalls();
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0], (QVariantList{QStringLiteral("backlight"),
                                      QStringLiteral("intel_backlight"), quint32(420)}));

    // Without a bus connection every write is the fallback's.
    fallback.accepts = true;
    LogindBacklightWriter offline(QDBusConnection(QStringLiteral("never-connected")), fallback);
    EXPECT_TRUE(offline.write(panel, 5));
    EXPECT_EQ(fallback.writes.back(), std::make_pair(std::string("intel_backlight"), 5ul));
    EXPECT_EQ(mock->brightnessCalls().size(), 1);
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
