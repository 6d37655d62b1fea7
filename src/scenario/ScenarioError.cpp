#include "scenario/ScenarioError.h"

namespace corvane::scenario {

std::string quotedExcerpt(std::string_view text) {
    std::size_t end = text.size();
    if (end > kMaxQuoted) {
        end = kMaxQuoted;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    std::string excerpt(1, '\'');
    excerpt.append(text.substr(0, end));
    excerpt.append(end < text.size() ? "...'" : "'");
    return excerpt;
}

}  // namespace corvane::scenario
