#include "scenario/Tokenizer.h"

#include "scenario/ScenarioError.h"

namespace corvane::scenario {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Reads a quoted part starting after its opening quote; returns the index after the closing one.
std::size_t readQuoted(std::string_view line, std::size_t at, std::string& text) {
    while (at < line.size()) {
        char c = line[at++];
        if (c == '"') return at;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (at == line.size()) break;
        char escaped = line[at++];
        if (escaped != '"' && escaped != '\\')
            throw ScenarioError(std::string("unknown escape \\") + escaped + " in a quoted word");
        text += escaped;
    }
    throw ScenarioError("unterminated quote");
}

}  // namespace

std::vector<Token> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && isBlank(line[at])) ++at;
        if (at == line.size() || line[at] == '#') return tokens;
        Token token;
        while (at < line.size() && !isBlank(line[at]) && line[at] != '#') {
            if (line[at] == '"') {
                token.quoted = true;
                at = readQuoted(line, at + 1, token.text);
            } else {
                token.text += line[at++];
            }
        }
        tokens.push_back(std::move(token));
    }
}

}  // namespace corvane::scenario
