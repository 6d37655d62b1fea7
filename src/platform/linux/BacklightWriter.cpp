#include "platform/linux/BacklightWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace corvane::linux_desktop {

bool SysfsBacklightWriter::write(const BacklightDevice& device, std::uint64_t value) {
    const int fd = ::open((device.path / "brightness").c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const std::string text = std::to_string(value) + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && written;
}

}  // namespace corvane::linux_desktop
