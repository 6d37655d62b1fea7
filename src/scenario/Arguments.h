#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/Tokenizer.h"

namespace corvane::scenario {

// A number written as decimal (any finite value) or, for whole numbers, also as 0x-hex.
// Each throws ScenarioError naming `what` when the text is not such a number or out of range.
double parseNumber(std::string_view text, std::string_view what);
std::int64_t parseInteger(std::string_view text, std::string_view what, std::int64_t min,
                          std::int64_t max);

// The words after a command, taken one by one; every taker throws ScenarioError naming what
// it expected when the word is missing or wrong.
class Arguments {
public:
    explicit Arguments(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    bool atEnd() const { return next_ == tokens_.size(); }
    const Token& take(std::string_view what);
    std::string word(std::string_view what) { return take(what).text; }
    double number(std::string_view what) { return parseNumber(word(what), what); }
    std::int64_t integer(std::string_view what, std::int64_t min, std::int64_t max) {
        return parseInteger(word(what), what, min, max);
    }
    // The index of the word among `choices`.
    std::size_t choice(std::string_view what, std::initializer_list<std::string_view> choices);
    bool onOff(std::string_view what) { return choice(what, {"off", "on"}) == 1; }
    // Throws when words are left over.
    void finish() const;

private:
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
};

}  // namespace corvane::scenario
