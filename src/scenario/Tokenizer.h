#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::scenario {

// One word of a scenario line. `quoted` tells a word written in double quotes (all or in part)
// from a bare one, so that "12" can stay a string where 12 is a number.
struct Token {
    std::string text;
    bool quoted = false;
    friend bool operator==(const Token&, const Token&) = default;
};

// Splits a line into words at blanks. Double quotes group blanks into a word; inside them \"
// and \\ stand for a quote and a backslash. A # outside quotes ends the line. Throws
// ScenarioError for an unterminated quote or an unknown escape.
std::vector<Token> tokenize(std::string_view line);

}  // namespace corvane::scenario
