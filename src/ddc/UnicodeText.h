#pragma once

#include <string>
#include <string_view>

// Unicode helpers for names read from the platform, on ICU.
namespace corvane::UnicodeText {

// Decodes bytes as UTF-8, replacing each ill-formed sequence by U+FFFD (one replacement per
// maximal subpart, as the Unicode Standard recommends), and returns well-formed UTF-8.
std::string repairedUTF8(std::string_view bytes);

// True when the two UTF-8 strings are canonically equivalent (equal NFD forms), case and
// compatibility differences included: "é" precomposed equals "e" + U+0301, "ﬁ" does not
// equal "fi", "A" does not equal "a". Ill-formed bytes compare as U+FFFD.
bool canonicallyEquivalent(std::string_view a, std::string_view b);

}  // namespace corvane::UnicodeText
