#include <gtest/gtest.h>

#include "ddc/UnicodeText.h"

namespace corvane {
namespace {

using UnicodeText::canonicallyEquivalent;
using UnicodeText::repairedUTF8;

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(UnicodeTextRepair, EachMaximalIllFormedSubpartBecomesOneReplacement) {
    // Well-formed text up to the last code point, U+10FFFF, passes unchanged.
    for (std::string text : {"", "AppleCLCD2", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"})
        EXPECT_EQ(repairedUTF8(text), text);
    // A lone byte that never starts a character: DDCDiscoveryClassName.CutAndRepaired.
    EXPECT_EQ(repairedUTF8("a\xE2\x82" "b"), "a" + kFFFD + "b");  // truncated three-byte
    EXPECT_EQ(repairedUTF8("\xC0\xAF"), kFFFD + kFFFD);      // overlong: C0 never starts one
    EXPECT_EQ(repairedUTF8("\xED\xA0\x80"), kFFFD + kFFFD + kFFFD);  // a surrogate
    EXPECT_EQ(repairedUTF8("\xE2\x82\xE2\x82\xAC"), kFFFD + "\xE2\x82\xAC");
    EXPECT_EQ(repairedUTF8(std::string("\xC3\0", 2)), kFFFD + std::string(1, '\0'));
}

// Equal and canonically equivalent names agreeing: the name rows of
// Discovery.ScoresAddUpFromTheAttributesThatAgree.
TEST(UnicodeTextEquivalence, OnlyCanonicallyEquivalentFormsAgree) {
    EXPECT_FALSE(canonicallyEquivalent("DELL U2720Q", "DELL U2720q"));
    EXPECT_FALSE(canonicallyEquivalent("DELL", "DELL "));
    EXPECT_FALSE(canonicallyEquivalent("Caf\xC3\xA9", "Cafe"));
    EXPECT_FALSE(canonicallyEquivalent("Caf\xC3\xA9", "Caf\xC3\x89"));  // case counts
    // Compatibility forms differ; ill-formed bytes compare as replacements.
    EXPECT_FALSE(canonicallyEquivalent("\xEF\xAC\x81", "fi"));          // ﬁ ligature
    EXPECT_TRUE(canonicallyEquivalent("A\xFF", "A" + kFFFD));
    EXPECT_FALSE(canonicallyEquivalent("A\xFF", "A"));
}

}  // namespace
}  // namespace corvane
