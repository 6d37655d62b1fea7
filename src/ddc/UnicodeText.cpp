#include "ddc/UnicodeText.h"

#include <algorithm>
#include <cstdint>

#include "ddc/UnicodeTables.h"

namespace corvane::UnicodeText {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return byte >= 0x80 && byte <= 0xBF; }

// Decodes the sequence at `bytes[position]`; returns the code point (U+FFFD for an ill-formed
// subpart) and advances `position` past what it consumed (always at least one byte).
char32_t decodeOne(std::string_view bytes, std::size_t& position) {
    const auto at = [&](std::size_t index) { return static_cast<unsigned char>(bytes[index]); };
    const unsigned char lead = at(position);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    std::size_t length = 0;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    } else {
        ++position;  // a stray continuation byte, C0, C1 or F5...FF
        return kReplacement;
    }

    char32_t code = lead & (0xFF >> (length + 1));
    std::size_t consumed = 1;
    while (consumed < length) {
        const std::size_t index = position + consumed;
        if (index >= bytes.size()) break;
        const unsigned char byte = at(index);
        const bool fits = consumed == 1 ? (byte >= secondLow && byte <= secondHigh)
                                        : isContinuation(byte);
        if (!fits) break;
        code = (code << 6) | (byte & 0x3F);
        ++consumed;
    }
    position += consumed;
    return consumed == length ? code : kReplacement;
}

void appendUTF8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Hangul syllable arithmetic.
constexpr char32_t kSBase = 0xAC00, kLBase = 0x1100, kVBase = 0x1161, kTBase = 0x11A7;
constexpr char32_t kVCount = 21, kTCount = 28, kNCount = kVCount * kTCount, kSCount = 11172;

std::uint8_t combiningClass(char32_t code) {
    const auto table = unicode_tables::combiningClasses();
    auto it = std::upper_bound(table.begin(), table.end(), code,
                               [](char32_t value, const unicode_tables::CombiningClassRange& range) {
                                   return value < range.first;
                               });
    if (it == table.begin()) return 0;
    --it;
    return code <= it->last ? it->combiningClass : 0;
}

void decomposeInto(std::u32string& out, char32_t code) {
    if (code >= kSBase && code < kSBase + kSCount) {
        const char32_t index = code - kSBase;
        out.push_back(kLBase + index / kNCount);
        out.push_back(kVBase + (index % kNCount) / kTCount);
        if (index % kTCount != 0) out.push_back(kTBase + index % kTCount);
        return;
    }
    const auto table = unicode_tables::decompositions();
    auto it = std::lower_bound(table.begin(), table.end(), code,
                               [](const unicode_tables::Decomposition& entry, char32_t value) {
                                   return entry.code < value;
                               });
    if (it == table.end() || it->code != code) {
        out.push_back(code);
        return;
    }
    decomposeInto(out, it->first);  // mappings nest at most a few levels deep
    if (it->second != 0) decomposeInto(out, it->second);
}

}  // namespace

std::u32string decodeUTF8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    std::size_t position = 0;
    while (position < bytes.size()) out.push_back(decodeOne(bytes, position));
    return out;
}

std::string repairedUTF8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char32_t code : decodeUTF8(bytes)) appendUTF8(out, code);
    return out;
}

std::u32string canonicalDecomposition(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (char32_t code : text) decomposeInto(out, code);
    // Canonical ordering: within each run of non-starters, a stable sort by combining class.
    std::size_t start = 0;
    while (start < out.size()) {
        if (combiningClass(out[start]) == 0) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < out.size() && combiningClass(out[end]) != 0) ++end;
        std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(start),
                         out.begin() + static_cast<std::ptrdiff_t>(end),
                         [](char32_t a, char32_t b) { return combiningClass(a) < combiningClass(b); });
        start = end;
    }
    return out;
}

bool canonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return canonicalDecomposition(decodeUTF8(a)) == canonicalDecomposition(decodeUTF8(b));
}

}  // namespace corvane::UnicodeText
