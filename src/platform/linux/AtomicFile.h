#pragma once

#include <filesystem>
#include <string_view>

namespace corvane::linux_desktop {

// Replaces `file` with `contents` so that readers see the old file or the new one, never a
// part: a temporary file in the same folder, written, synced and renamed over it. Makes the
// folder when it is missing. False when any step fails; the old file is then left as it was.
bool writeFileAtomically(const std::filesystem::path& file, std::string_view contents);

}  // namespace corvane::linux_desktop
