#include "platform/Diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordedDiagnostics.h"

namespace corvane {
namespace {

TEST(FailureEpisode, ReportsTheStartAndTheEndOfEachEpisodeOnce) {
    FailureEpisode episode(DiagnosticTopic::ddc, "/dev/i2c-4");
    {
        testing::RecordedDiagnostics diagnostics;
        episode.succeeded();  // a success without a failure says nothing
        episode.failed("no answer");
        episode.failed("no answer");
        episode.failed("bus error");
        EXPECT_TRUE(episode.failing());
        episode.succeeded();
        episode.succeeded();
        episode.failed("no answer");

        std::vector<std::pair<DiagnosticLevel, std::string>> heard;
        for (const auto& line : diagnostics.lines()) heard.emplace_back(line.level, line.message);
        EXPECT_EQ(heard, (std::vector<std::pair<DiagnosticLevel, std::string>>{
                             {DiagnosticLevel::warning, "/dev/i2c-4: no answer"},
                             {DiagnosticLevel::info, "/dev/i2c-4: working again"},
                             {DiagnosticLevel::warning, "/dev/i2c-4: no answer"}}));
    }
    episode.succeeded();  // with no sink installed
    EXPECT_FALSE(episode.failing());
}

}  // namespace
}  // namespace corvane
