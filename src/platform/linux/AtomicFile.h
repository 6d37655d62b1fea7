#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace corvane::linux_desktop {

// Replaces `file` with `contents` so that readers see the old file or the new one, never a
// part: a temporary file in the same folder, written, synced and renamed over it. A symbolic
// link is written through: the file it leads to is replaced and the link stays. Makes the
// folder when it is missing. The error of the step that failed, else none; after a failure
// the old file is left as it was.
std::error_code writeFileAtomically(const std::filesystem::path& file, std::string_view contents);

// Where `file` leads once every symbolic link on the way is followed (the file itself when it
// is not a link or the links go round in circles). The file need not exist.
std::filesystem::path followSymbolicLinks(const std::filesystem::path& file);

}  // namespace corvane::linux_desktop
