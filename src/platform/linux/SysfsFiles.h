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

// The names of the entries of a folder, in byte order; empty when it cannot be listed.
std::vector<std::string> sortedEntryNames(const std::filesystem::path& folder);

}  // namespace corvane::linux_desktop
