#include "platform/linux/x11/OutputNames.h"

#include <cctype>
#include <regex>
#include <vector>

namespace corvane::linux_desktop {
namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Words and numbers, split at dashes and wherever letters meet digits.
std::vector<std::string> tokens(std::string_view name) {
    std::vector<std::string> result;
    std::string current;
    auto flush = [&] {
        if (!current.empty()) result.push_back(current);
        current.clear();
    };
    for (char c : name) {
        if (c == '-' || c == '_' || c == ' ') {
            flush();
            continue;
        }
        if (!current.empty() && isDigit(current.back()) != isDigit(c)) flush();
        current += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    flush();
    // Numbers by value: "DP-01" is "DP-1".
    for (std::string& token : result) {
        if (!isDigit(token.front())) continue;
        token.erase(0, std::min(token.find_first_not_of('0'), token.size() - 1));
    }
    return result;
}

std::string_view withoutCard(std::string_view name) {
    static const std::regex kCardPrefix("^card[0-9]+-");
    std::match_results<std::string_view::const_iterator> match;
    if (std::regex_search(name.begin(), name.end(), match, kCardPrefix))
        name.remove_prefix(static_cast<std::size_t>(match.length(0)));
    return name;
}

}  // namespace

std::string canonicalOutputName(std::string_view name) {
    std::vector<std::string> parts = tokens(withoutCard(name));
    // The kernel's HDMI type A connector is plain "HDMI" to the X drivers.
    if (parts.size() > 1 && parts[0] == "hdmi" && parts[1] == "a") parts.erase(parts.begin() + 1);
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : "-") + part;
    return joined;
}

bool sameOutputName(std::string_view connector, std::string_view output) {
    const std::string canonical = canonicalOutputName(connector);
    return !canonical.empty() && canonical == canonicalOutputName(output);
}

}  // namespace corvane::linux_desktop
