#include <gtest/gtest.h>

#include <sstream>

#include "scenario/Arguments.h"
#include "scenario/NewDisplayParser.h"
#include "scenario/ScenarioError.h"
#include "scenario/ScenarioScript.h"
#include "scenario/Tokenizer.h"

namespace corvane::scenario {
namespace {

TEST(Tokenizer, SplitsAtBlanksGroupsQuotesAndStopsAtComments) {
    EXPECT_EQ(tokenize("  add\tbuiltin \"Built-in \\\"Retina\\\" \\\\ #1\" main # a comment\r"),
              (std::vector<Token>{{"add", false},
                                  {"builtin", false},
                                  {"Built-in \"Retina\" \\ #1", true},
                                  {"main", false}}));
    EXPECT_EQ(tokenize("uuid=\"a b\"c"), (std::vector<Token>{{"uuid=a bc", true}}));
    EXPECT_EQ(tokenize("pref k \"\""), (std::vector<Token>{{"pref"}, {"k"}, {"", true}}));
    EXPECT_EQ(tokenize("dump#now"), (std::vector<Token>{{"dump"}}));
    // Blank and comment-only lines are run by every scenario file and documented example.
}

TEST(Tokenizer, RejectsUnterminatedQuotesAndUnknownEscapes) {
    for (std::string_view line : {"add gamma \"LG", "add gamma \"LG\\", "add \"a\\n\""})
        EXPECT_THROW(tokenize(line), ScenarioError) << line;
}

TEST(ScenarioErrors, QuoteAtMostEightyBytesOfTheBadText) {
    const std::string huge(10'000'000, 'x');
    for (const std::string& line : {huge, "pref k " + huge, "add gamma LG " + huge, "preset " + huge,
                                    "advance " + huge}) {
        std::istringstream in(line);
        std::ostringstream out, err;
        runScenario(in, out, err);
        EXPECT_LT(err.str().size(), 300u) << err.str().substr(0, 300);
        EXPECT_NE(err.str().find("'" + std::string(kMaxQuoted, 'x') + "...'"), std::string::npos)
            << err.str().substr(0, 300);
    }
    EXPECT_EQ(quotedExcerpt(std::string(kMaxQuoted, 'y')), "'" + std::string(kMaxQuoted, 'y') + "'");
    // A two-byte character across the limit is left out whole.
    EXPECT_EQ(quotedExcerpt(std::string(kMaxQuoted - 1, 'y') + "\xC3\xA9z"),
              "'" + std::string(kMaxQuoted - 1, 'y') + "...'");
}

TEST(Arguments, NumbersAreFiniteAndWholeNumbersStayInRange) {
    EXPECT_DOUBLE_EQ(parseNumber("-1.5e1", "x"), -15);
    EXPECT_DOUBLE_EQ(parseNumber("+0.25", "x"), 0.25);
    for (std::string_view bad : {"", "+", "1x", "nan", "inf", "1e999", "0x10", " 1"})
        EXPECT_THROW(parseNumber(bad, "x"), ScenarioError) << bad;

    // Hexadecimal is read by the display parser's max=0x64.
    EXPECT_EQ(parseInteger("4294967295", "serial", 0, 0xFFFFFFFF), 0xFFFFFFFF);
    for (std::string_view bad : {"4294967296", "-1", "1.5", "0x", "0xZZ", "12a"})
        EXPECT_THROW(parseInteger(bad, "serial", 0, 0xFFFFFFFF), ScenarioError) << bad;
}

sim::SimDisplayConfig displayOf(std::string_view line) {
    Arguments arguments([&] {
        std::vector<Token> tokens = tokenize(line);
        tokens.erase(tokens.begin());
        return tokens;
    }());
    return parseNewDisplay(arguments);
}

TEST(NewDisplayParser, StartsFromTheKindAndAppliesEverySetting) {
    sim::SimDisplayConfig ddc = displayOf(
        "add ddc \"Dell U2720Q\" current=40 max=0x64 vendor=0x10AC model=0x2009 serial=12345 "
        "uuid=\"A-B C\" length=none width=2560 height=1440 scale=2 main");
    EXPECT_EQ(ddc.ddc->maximum, 100);
    EXPECT_EQ(ddc.serial, 12345u);
    EXPECT_EQ(ddc.uuid, "A-B C");
    EXPECT_FALSE(ddc.gammaLength);
    EXPECT_EQ(ddc.size, (Size{2560, 1440}));
    EXPECT_TRUE(ddc.main);

    sim::SimDisplayConfig boost = displayOf("add boost XDR backlight=0.25 headroom=3 potential=8");
    EXPECT_EQ(boost.currentHeadroom, 3);
    EXPECT_EQ(boost.potentialHeadroom, 8);
    EXPECT_FALSE(boost.main);

    EXPECT_FALSE(displayOf("add none TV").gammaLength);
    EXPECT_EQ(displayOf("add gamma LG length=0").gammaLength, 0u);
}

TEST(NewDisplayParser, RejectsSettingsThatDoNotFitTheKind) {
    for (std::string_view line :
         {"add", "add tv X", "add builtin", "add gamma LG backlight=0.5", "add builtin P current=3",
          "add ddc D max=65536", "add ddc D colour=red", "add ddc D primary",
          "add gamma LG width=0", "add gamma LG length=-1",
          "add builtin P backlight=", "add gamma LG scale=nan"})
        EXPECT_THROW(displayOf(line), ScenarioError) << line;
}

}  // namespace
}  // namespace corvane::scenario
