#include "platform/Diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

struct RecordingSink : DiagnosticSink {
    std::vector<std::pair<DiagnosticLevel, std::string>> lines;
    void write(DiagnosticTopic, DiagnosticLevel level, std::string_view message) override {
        lines.emplace_back(level, std::string(message));
    }
};

TEST(FailureEpisode, ReportsTheStartAndTheEndOfEachEpisodeOnce) {
    RecordingSink sink;
    installDiagnosticSink(&sink);
    FailureEpisode episode(DiagnosticTopic::ddc, "/dev/i2c-4");

    episode.succeeded();
    EXPECT_TRUE(sink.lines.empty()) << "a success without a failure says nothing";

    episode.failed("no answer");
    episode.failed("no answer");
    episode.failed("bus error");
    EXPECT_TRUE(episode.failing());
    episode.succeeded();
    episode.succeeded();
    episode.failed("no answer");
    installDiagnosticSink(nullptr);
    episode.succeeded();

    ASSERT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(sink.lines[0].first, DiagnosticLevel::warning);
    EXPECT_EQ(sink.lines[0].second, "/dev/i2c-4: no answer");
    EXPECT_EQ(sink.lines[1].first, DiagnosticLevel::info);
    EXPECT_EQ(sink.lines[1].second, "/dev/i2c-4: working again");
    EXPECT_EQ(sink.lines[2].second, "/dev/i2c-4: no answer");
    EXPECT_FALSE(episode.failing());
}

}  // namespace
}  // namespace corvane
