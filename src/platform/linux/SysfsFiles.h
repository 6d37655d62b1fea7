#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::linux_desktop {

// Small, non-throwing readers for the one-value files of sysfs. A file that is missing,
// unreadable or vanishes while it is read yields none.

// The file's bytes, at most `limit` of them.
std::optional<std::vector<std::uint8_t>> readBytes(const std::filesystem::path& file,
                                                   std::size_t limit = 64 * 1024);
// The file's text without surrounding white space.
std::optional<std::string> readWord(const std::filesystem::path& file);
// The file's text read as a non-negative decimal number.
std::optional<std::uint64_t> readNumber(const std::filesystem::path& file);

// A one-value file kept open and read again from its start at each ask: one system call a
// read instead of three, for the files a poll reads every time. Reads none once the file
// cannot be opened or read (a device that went away).
class OpenValueFile {
  public:
    explicit OpenValueFile(const std::filesystem::path& file);
    ~OpenValueFile();
    OpenValueFile(const OpenValueFile&) = delete;
    OpenValueFile& operator=(const OpenValueFile&) = delete;

    std::optional<std::string> word() const;
    std::optional<std::uint64_t> number() const;

  private:
    int fd_;
};

// The names of the entries of a folder, in byte order; empty when it cannot be listed.
std::vector<std::string> sortedEntryNames(const std::filesystem::path& folder);

}  // namespace corvane::linux_desktop
