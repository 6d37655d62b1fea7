#include "platform/linux/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corvane::linux_desktop {
namespace {

using Outcome = RegularFileRead::Outcome;

RegularFileRead failure(Outcome outcome, int error = 0) {
    RegularFileRead result;
    result.outcome = outcome;
    result.error = std::error_code(error, std::generic_category());
    return result;
}

RegularFileRead unreadable(int error) {
    const bool missing = error == ENOENT || error == ENOTDIR;
    return failure(missing ? Outcome::missing : Outcome::unreadable, error);
}

// Reads an opened regular file; more than `limit` bytes is too large.
RegularFileRead readOpened(int fd, std::size_t limit) {
    RegularFileRead result;
    result.outcome = Outcome::read;
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return unreadable(errno);
        if (count == 0) return result;
        result.bytes.append(chunk, static_cast<std::size_t>(count));
        if (result.bytes.size() > limit) return failure(Outcome::tooLarge);
    }
}

}  // namespace

RegularFileRead readRegularFile(const std::filesystem::path& file, std::size_t limit) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return unreadable(errno);
    if (!S_ISREG(status.st_mode)) return failure(Outcome::notRegular);
    if (static_cast<std::size_t>(status.st_size) > limit) return failure(Outcome::tooLarge);

    // Non-blocking, in case a named pipe took the file's place since the look above.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return unreadable(errno);
    RegularFileRead result = ::fstat(fd, &status) != 0 ? unreadable(errno)
                             : !S_ISREG(status.st_mode) ? failure(Outcome::notRegular)
                                                        : readOpened(fd, limit);
    ::close(fd);
    return result;
}

}  // namespace corvane::linux_desktop
