#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace corvane::linux_desktop {

// What reading a file that should be a regular file found.
struct RegularFileRead {
    enum class Outcome { read, missing, notRegular, tooLarge, unreadable };
    Outcome outcome = Outcome::missing;
    std::string bytes;        // the contents when read
    std::error_code error;    // why it could not be read
};

// Reads `file` (following symbolic links) when it is a regular file of at most `limit` bytes.
// A path that leads nowhere (a missing file or folder) is missing. Anything else (a named pipe, a device, a folder) is refused without being opened for more
// than a look, so nothing here waits for a writer.
RegularFileRead readRegularFile(const std::filesystem::path& file, std::size_t limit);

}  // namespace corvane::linux_desktop
