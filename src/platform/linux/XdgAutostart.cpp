#include "platform/linux/XdgAutostart.h"

#include <fstream>

#include "platform/linux/AtomicFile.h"

namespace corvane::linux_desktop {
namespace {

constexpr const char* kEntryName = "corvane-display.desktop";
constexpr std::string_view kMainGroup = "[Desktop Entry]";

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Whether the entry's main group switches it off.
bool switchedOff(std::istream& entry) {
    bool inMainGroup = false;
    for (std::string line; std::getline(entry, line);) {
        line = trimmed(line);
        if (line.starts_with('[')) {
            inMainGroup = line == kMainGroup;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos) continue;
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return true;
    }
    return false;
}

}  // namespace

std::string execArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    quoted += '"';

    std::string value;
    for (char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string autostartEntry(const std::filesystem::path& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Corvane Display\n"
           "Comment=Display brightness in the tray\n"
           "Exec=" +
           execArgument(executable.string()) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

XdgAutostart::XdgAutostart(std::filesystem::path autostartFolder, std::filesystem::path executable)
    : entryFile_(autostartFolder.empty() ? autostartFolder : autostartFolder / kEntryName),
      executable_(std::move(executable)) {}

LoginItem::Status XdgAutostart::status() const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(entryFile_, error)) return Status::notRegistered;
    std::ifstream entry(entryFile_);
    if (!entry || switchedOff(entry)) return Status::notRegistered;
    return Status::enabled;
}

bool XdgAutostart::registerItem() {
    if (entryFile_.empty()) return false;
    return !writeFileAtomically(entryFile_, autostartEntry(executable_));
}

bool XdgAutostart::unregisterItem() {
    std::error_code error;
    std::filesystem::remove(entryFile_, error);
    return !error;
}

}  // namespace corvane::linux_desktop
