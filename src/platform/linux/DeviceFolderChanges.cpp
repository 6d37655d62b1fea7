#include "platform/linux/DeviceFolderChanges.h"

#include <linux/netlink.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <string_view>

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

// How long after a change of the folder its entries are still compared.
constexpr std::time_t kRecentSeconds = 2;

// The multicast group of the kernel's own device events (udev re-sends them on another).
constexpr unsigned kKernelEvents = 1;

int openDeviceEvents() {
    int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_KOBJECT_UEVENT);
    if (fd < 0) return -1;
    sockaddr_nl address{};
    address.nl_family = AF_NETLINK;
    address.nl_groups = kKernelEvents;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// An event is "ACTION@DEVPATH" then NUL-separated KEY=value fields. Only the arrival and
// departure of a device change a folder's entries; "change" events (a battery's status) do not.
bool addsOrRemoves(std::string_view event, std::string_view subsystem) {
    bool inSubsystem = false;
    bool listChanges = false;
    for (std::size_t start = 0; start < event.size();) {
        std::size_t end = event.find('\0', start);
        if (end == std::string_view::npos) end = event.size();
        std::string_view field = event.substr(start, end - start);
        if (field.starts_with("SUBSYSTEM=")) inSubsystem = field.substr(10) == subsystem;
        if (field == "ACTION=add" || field == "ACTION=remove" || field == "ACTION=move")
            listChanges = true;
        start = end + 1;
    }
    return inSubsystem && listChanges;
}

}  // namespace

DeviceFolderChanges::DeviceFolderChanges(std::filesystem::path folder, std::string subsystem)
    : folder_(std::move(folder)), subsystem_(std::move(subsystem)), socket_(openDeviceEvents()) {}

DeviceFolderChanges::~DeviceFolderChanges() {
    if (socket_ >= 0) ::close(socket_);
}

bool DeviceFolderChanges::changed() {
    // Both are asked every time, so that each drains or records what it saw.
    bool devices = deviceAddedOrRemoved();
    bool folder = folderModified();
    bool first = !asked_;
    asked_ = true;
    return first || socket_ < 0 || devices || folder;
}

bool DeviceFolderChanges::deviceAddedOrRemoved() {
    if (socket_ < 0) return false;
    bool seen = false;
    std::array<char, 8192> buffer;
    for (;;) {
        ssize_t length = ::recv(socket_, buffer.data(), buffer.size(), 0);
        if (length <= 0) return seen;
        seen = seen || addsOrRemoves({buffer.data(), static_cast<std::size_t>(length)}, subsystem_);
    }
}

// File times come from a coarse clock: an entry made within a few milliseconds of the last ask
// may leave the folder's time as it was. So while the folder's time is recent, its entries are
// compared as well; a folder left alone costs a stat.
bool DeviceFolderChanges::folderModified() {
    struct stat status {};
    std::optional<Stamp> now;
    if (::stat(folder_.c_str(), &status) == 0)
        now = Stamp{status.st_ino, status.st_nlink, status.st_mtim};
    auto same = [](const std::optional<Stamp>& a, const std::optional<Stamp>& b) {
        if (!a || !b) return !a && !b;
        return a->inode == b->inode && a->links == b->links &&
               a->modified.tv_sec == b->modified.tv_sec &&
               a->modified.tv_nsec == b->modified.tv_nsec;
    };
    bool modified = !same(now, stamp_);
    stamp_ = now;
    bool recent = now && std::time(nullptr) - now->modified.tv_sec <= kRecentSeconds;
    if (modified || recent) {
        std::vector<std::string> names = sortedEntryNames(folder_);
        modified = modified || names != names_;
        names_ = std::move(names);
    }
    return modified;
}

}  // namespace corvane::linux_desktop
