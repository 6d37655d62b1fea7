// The autostart entry for an executable anywhere: read back as a desktop environment reads
// it (string escapes, then the Exec key's quoting and field codes), its Exec line gives the
// executable's path unchanged, and the entry keeps its shape.
#include <optional>
#include <sstream>

#include "FuzzCheck.h"
#include "platform/linux/XdgAutostart.h"

using namespace corvane::linux_desktop;

namespace {

// A string value's escapes undone: \s \n \t \r \\.
std::string unescapedValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

// The one argument of an Exec command line that is a single quoted argument; none when the
// line is anything else.
std::optional<std::string> onlyQuotedArgument(std::string_view command) {
    if (command.size() < 2 || command.front() != '"' || command.back() != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i + 1 < command.size(); ++i) {
        char c = command[i];
        if (c == '"' || c == '`' || c == '$') return std::nullopt;  // must have been escaped
        if (c == '\\') {
            if (i + 2 >= command.size()) return std::nullopt;
            c = command[++i];
            if (c != '"' && c != '`' && c != '$' && c != '\\') return std::nullopt;
        } else if (c == '%') {
            if (i + 2 >= command.size() || command[++i] != '%') return std::nullopt;
        }
        out += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    if (path.find('\0') != std::string::npos) return 0;  // no path holds one

    std::istringstream entry(autostartEntry(path));
    int execLines = 0;
    for (std::string line; std::getline(entry, line);) {
        FUZZ_CHECK(line.empty() || line.starts_with("[") || line.find('=') != std::string::npos);
        if (!line.starts_with("Exec=")) continue;
        ++execLines;
        const std::optional<std::string> argument =
            onlyQuotedArgument(unescapedValue(std::string_view(line).substr(5)));
        FUZZ_CHECK(argument == path);
    }
    FUZZ_CHECK(execLines == 1);
    return 0;
}
