#include "platform/linux/AtomicFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return lastError();
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return ::fsync(fd) == 0 ? std::error_code() : lastError();
}

// Makes the rename itself durable.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

fs::path followSymbolicLinks(const fs::path& file) {
    constexpr int kMaxLinks = 40;  // as many as the kernel follows on one path
    fs::path target = file;
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(target, error)) return target;
        const fs::path next = fs::read_symlink(target, error);
        if (error) return target;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return file;
}

std::error_code writeFileAtomically(const fs::path& file, std::string_view contents) {
    const fs::path target = followSymbolicLinks(file);
    const fs::path folder = target.parent_path();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return error;

    std::string hiddenName = ".";
    hiddenName.append(target.filename().string()).append(".XXXXXX");
    std::string temporary = (folder / hiddenName).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return lastError();
    error = writeAll(fd, contents);
    if (::close(fd) != 0 && !error) error = lastError();
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolder(folder);
    return {};
}

}  // namespace corvane::linux_desktop
