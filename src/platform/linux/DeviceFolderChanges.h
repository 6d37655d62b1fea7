#pragma once

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::linux_desktop {

// Whether the entries of a sysfs class folder may have changed since the last ask: a device of
// the folder's kernel subsystem was added or removed (the kernel's device events, read without
// blocking from a netlink socket), or the folder itself was modified (a recorded tree edited in
// place). A quiet folder costs one system call for each: a receive that finds nothing and a
// stat. Without the socket every ask answers yes, so the caller lists the folder each time.
class DeviceFolderChanges {
  public:
    DeviceFolderChanges(std::filesystem::path folder, std::string subsystem);
    ~DeviceFolderChanges();
    DeviceFolderChanges(const DeviceFolderChanges&) = delete;
    DeviceFolderChanges& operator=(const DeviceFolderChanges&) = delete;

    // True the first time, then whenever something changed since the previous call.
    bool changed();

  private:
    bool deviceAddedOrRemoved();
    bool folderModified();

    std::filesystem::path folder_;
    std::string subsystem_;
    int socket_ = -1;
    bool asked_ = false;
    // The folder's identity, link count and modification time as last seen; none when missing.
    struct Stamp {
        ino_t inode;
        nlink_t links;
        timespec modified;
    };
    std::optional<Stamp> stamp_;
    std::vector<std::string> names_;  // the entries, listed while the folder changes recently
};

}  // namespace corvane::linux_desktop
