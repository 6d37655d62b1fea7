#pragma once

#include <cstdint>
#include <span>

// Unicode data for canonical equivalence, generated into UnicodeTables.cpp by
// tools/generate_unicode_tables.py. Both tables are sorted by code point.
namespace corvane::unicode_tables {

// A canonical decomposition mapping: `code` → `first` followed by `second` (0 for none).
// Hangul syllables are not listed; they decompose algorithmically.
struct Decomposition {
    char32_t code;
    char32_t first;
    char32_t second;
};

// Code points `first`...`last` have the non-zero canonical combining class `combiningClass`.
struct CombiningClassRange {
    char32_t first;
    char32_t last;
    std::uint8_t combiningClass;
};

std::span<const Decomposition> decompositions();
std::span<const CombiningClassRange> combiningClasses();

}  // namespace corvane::unicode_tables
