#include "platform/linux/SysfsFiles.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace corvane::linux_desktop {

// Plain system calls: sysfs hands an attribute over in one read, so a read that returns less
// than it asked for ends the file without another call (the poll reads a few files a tick).
std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& file,
                                                   std::size_t limit) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    bool failed = false;
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof chunk, limit - bytes.size());
        const ssize_t got = ::read(fd, chunk, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failed = true;
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (static_cast<std::size_t>(got) < wanted) break;
    }
    ::close(fd);
    if (failed) return std::nullopt;
    return bytes;
}

namespace {

std::string trimmed(std::string text) {
    constexpr const char* kBlanks = " \t\n\r";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::uint64_t> decimal(const std::optional<std::string>& text) {
    if (!text || text->empty()) return std::nullopt;
    std::uint64_t value = 0;
    const char* end = text->data() + text->size();
    auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> readWord(const std::filesystem::path& file) {
    std::optional<std::vector<std::uint8_t>> bytes = readBytes(file, 4096);
    if (!bytes) return std::nullopt;
    return trimmed(std::string(bytes->begin(), bytes->end()));
}

std::optional<std::uint64_t> readNumber(const std::filesystem::path& file) {
    return decimal(readWord(file));
}

OpenValueFile::OpenValueFile(const std::filesystem::path& file)
    : fd_(::open(file.c_str(), O_RDONLY | O_CLOEXEC)) {}

OpenValueFile::~OpenValueFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> OpenValueFile::word() const {
    if (fd_ < 0) return std::nullopt;
    char buffer[4096];
    ssize_t got = 0;
    do got = ::pread(fd_, buffer, sizeof buffer, 0);
    while (got < 0 && errno == EINTR);
    if (got < 0) return std::nullopt;
    return trimmed(std::string(buffer, static_cast<std::size_t>(got)));
}

std::optional<std::uint64_t> OpenValueFile::number() const {
    return decimal(word());
}

std::vector<std::string> sortedEntryNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace corvane::linux_desktop
