#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::linux_desktop {

// One member of a JSON object as written: its key's text (with the quotes), its value's text
// and how deeply arrays and objects nest inside the value (0 for a number, string or literal).
struct JsonMemberText {
    std::string keyText;
    std::string valueText;
    std::size_t depth = 0;
};

// The members of `text` when it is one JSON object (blanks around it allowed), in the order
// written; none when it is anything else. The whole text is checked against the JSON grammar
// without recursion, so any depth of nesting is safe. Numbers are checked for their form
// only: 1e400 is a member like any other.
std::optional<std::vector<JsonMemberText>> splitJsonObject(std::string_view text);

}  // namespace corvane::linux_desktop
