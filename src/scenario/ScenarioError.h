#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane::scenario {

// A line the runner cannot carry out: an unknown command or a bad argument. The message names
// the problem; the runner adds the line number.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How many bytes of a bad word or line a message quotes at most.
inline constexpr std::size_t kMaxQuoted = 80;

// `text` in single quotes for a message: its first kMaxQuoted bytes (cut before a UTF-8
// character that would not fit) and "..." when there was more.
std::string quotedExcerpt(std::string_view text);

}  // namespace corvane::scenario
