#include <gtest/gtest.h>

#include "ddc/UnicodeText.h"

namespace corvane {
namespace {

using UnicodeText::canonicallyEquivalent;
using UnicodeText::repairedUTF8;

const std::string kFFFD = "\xEF\xBF\xBD";

TEST(UnicodeTextRepair, EachMaximalIllFormedSubpartBecomesOneReplacement) {
    for (std::string text : {std::string(""), std::string("AppleCLCD2"), std::string("Caf\xC3\xA9"),
                             std::string("\xE2\x82\xAC 5"), std::string("\xF0\x9F\x98\x80"),
                             std::string("\xEF\xBF\xBF"), std::string("\xF4\x8F\xBF\xBF")})
        EXPECT_EQ(repairedUTF8(text), text);
    EXPECT_EQ(repairedUTF8("\x80"), kFFFD);
    EXPECT_EQ(repairedUTF8("\xFF"), kFFFD);
    EXPECT_EQ(repairedUTF8("\xC3"), kFFFD);                  // truncated two-byte
    EXPECT_EQ(repairedUTF8("a\xE2\x82" "b"), "a" + kFFFD + "b");  // truncated three-byte
    EXPECT_EQ(repairedUTF8("\xF0\x9F\x98"), kFFFD);          // truncated four-byte
    EXPECT_EQ(repairedUTF8("\xC0\xAF"), kFFFD + kFFFD);      // overlong: C0 never starts one
    EXPECT_EQ(repairedUTF8("\xE0\x80\xAF"), kFFFD + kFFFD + kFFFD);  // overlong three-byte
    EXPECT_EQ(repairedUTF8("\xED\xA0\x80"), kFFFD + kFFFD + kFFFD);  // a surrogate
    EXPECT_EQ(repairedUTF8("\xF4\x90\x80\x80"), kFFFD + kFFFD + kFFFD + kFFFD);  // above U+10FFFF
    EXPECT_EQ(repairedUTF8("\xF5\x80"), kFFFD + kFFFD);
    EXPECT_EQ(repairedUTF8("\xE2\x82\xE2\x82\xAC"), kFFFD + "\xE2\x82\xAC");
    EXPECT_EQ(repairedUTF8(std::string("\xC3\0", 2)), kFFFD + std::string(1, '\0'));
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    std::string once = repairedUTF8(bytes);
    EXPECT_EQ(repairedUTF8(once), once);
}

TEST(UnicodeTextEquivalence, OnlyCanonicallyEquivalentFormsAgree) {
    EXPECT_TRUE(canonicallyEquivalent("DELL U2720Q", "DELL U2720Q"));
    EXPECT_FALSE(canonicallyEquivalent("DELL U2720Q", "DELL U2720q"));
    EXPECT_FALSE(canonicallyEquivalent("DELL", "DELL "));
    EXPECT_FALSE(canonicallyEquivalent("", "A"));
    EXPECT_TRUE(canonicallyEquivalent("Caf\xC3\xA9", "Cafe\xCC\x81"));
    EXPECT_FALSE(canonicallyEquivalent("Caf\xC3\xA9", "Cafe"));
    EXPECT_FALSE(canonicallyEquivalent("Caf\xC3\xA9", "Caf\xC3\x89"));  // case counts
    // Å: U+00C5, the Angstrom sign U+212B, and A + combining ring U+030A.
    EXPECT_TRUE(canonicallyEquivalent("\xC3\x85", "\xE2\x84\xAB"));
    EXPECT_TRUE(canonicallyEquivalent("\xE2\x84\xAB", "A\xCC\x8A"));
    // ệ: U+1EC7 against e + U+0323 + U+0302 (nested decomposition).
    EXPECT_TRUE(canonicallyEquivalent("\xE1\xBB\x87", "e\xCC\xA3\xCC\x82"));
    // dot below (class 220) and acute (230) in either order
    EXPECT_TRUE(canonicallyEquivalent("e\xCC\x81\xCC\xA3", "e\xCC\xA3\xCC\x81"));
    // two marks of the same class keep their order
    EXPECT_FALSE(canonicallyEquivalent("e\xCC\x81\xCC\x80", "e\xCC\x80\xCC\x81"));
    // 한 U+D55C = ᄒ U+1112 + ᅡ U+1161 + ᆫ U+11AB; 가 U+AC00 = ᄀ + ᅡ (no trailing consonant)
    EXPECT_TRUE(canonicallyEquivalent("\xED\x95\x9C", "\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB"));
    EXPECT_TRUE(canonicallyEquivalent("\xEA\xB0\x80", "\xE1\x84\x80\xE1\x85\xA1"));
    EXPECT_FALSE(canonicallyEquivalent("\xEA\xB0\x80", "\xED\x95\x9C"));
    // Compatibility forms differ; ill-formed bytes compare as replacements.
    EXPECT_FALSE(canonicallyEquivalent("\xEF\xAC\x81", "fi"));          // ﬁ ligature
    EXPECT_FALSE(canonicallyEquivalent("\xEF\xBC\xA1", "A"));           // fullwidth A
    EXPECT_FALSE(canonicallyEquivalent("\xE2\x84\xA2", "TM"));          // ™
    EXPECT_TRUE(canonicallyEquivalent("A\xFF", "A" + kFFFD));
    EXPECT_FALSE(canonicallyEquivalent("A\xFF", "A"));
}

}  // namespace
}  // namespace corvane
