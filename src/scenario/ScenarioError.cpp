#include "scenario/ScenarioError.h"

namespace corvane::scenario {

std::string quoted(std::string_view text) {
    if (text.size() <= kMaxQuoted) return "'" + std::string(text) + "'";
    std::size_t end = kMaxQuoted;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return "'" + std::string(text.substr(0, end)) + "...'";
}

}  // namespace corvane::scenario
