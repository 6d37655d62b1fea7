#include "scenario/Arguments.h"

#include <charconv>
#include <cmath>

#include "scenario/ScenarioError.h"

namespace corvane::scenario {
namespace {

[[noreturn]] void notA(std::string_view kind, std::string_view what, std::string_view text) {
    throw ScenarioError(std::string(what) + " must be " + std::string(kind) + ", not " +
                        quotedExcerpt(text));
}

bool isHex(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

double parseNumber(std::string_view text, std::string_view what) {
    std::string_view digits = text.starts_with('+') ? text.substr(1) : text;
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        !std::isfinite(value))
        notA("a finite number", what, text);
    return value;
}

std::int64_t parseInteger(std::string_view text, std::string_view what, std::int64_t min,
                          std::int64_t max) {
    std::string_view digits = isHex(text) ? text.substr(2) : text;
    std::int64_t value = 0;
    auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, isHex(text) ? 16 : 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        notA("a whole number", what, text);
    if (value < min || value > max)
        throw ScenarioError(std::string(what) + " must be between " + std::to_string(min) +
                            " and " + std::to_string(max) + ", not " + quotedExcerpt(text));
    return value;
}

const Token& Arguments::take(std::string_view what) {
    if (atEnd()) throw ScenarioError("missing " + std::string(what));
    return tokens_[next_++];
}

std::size_t Arguments::choice(std::string_view what,
                              std::initializer_list<std::string_view> choices) {
    std::string text = word(what);
    std::size_t index = 0;
    std::string listed;
    for (std::string_view candidate : choices) {
        if (candidate == text) return index;
        if (index++) listed += '|';
        listed += candidate;
    }
    throw ScenarioError(std::string(what) + " must be one of " + listed + ", not " +
                        quotedExcerpt(text));
}

void Arguments::finish() const {
    if (!atEnd()) throw ScenarioError("unexpected argument " + quotedExcerpt(tokens_[next_].text));
}

}  // namespace corvane::scenario
