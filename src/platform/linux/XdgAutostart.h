#pragma once

#include <filesystem>
#include <string>

#include "platform/LoginItem.h"

namespace corvane::linux_desktop {

// Launch at login through an XDG autostart entry, "corvane-display.desktop" in the user's
// autostart folder ($XDG_CONFIG_HOME/autostart). The item is enabled while the entry exists
// and neither hides it (Hidden=true) nor switches it off (X-GNOME-Autostart-enabled=false).
// Without a folder (an empty path: no home) nothing can be registered.
class XdgAutostart final : public LoginItem {
  public:
    XdgAutostart(std::filesystem::path autostartFolder, std::filesystem::path executable);

    Status status() const override;
    // Writes the entry that starts the executable, replacing any entry already there.
    bool registerItem() override;
    // Removes the entry; true when there is none afterwards.
    bool unregisterItem() override;

    const std::filesystem::path& entryFile() const { return entryFile_; }

  private:
    std::filesystem::path entryFile_;
    std::filesystem::path executable_;
};

// The desktop entry that starts `executable`.
std::string autostartEntry(const std::filesystem::path& executable);

// `argument` as one argument of a desktop entry's Exec key: in double quotes with ", `, $
// and \ escaped by a backslash, % doubled, and then written with the escapes of a string
// value (\\, \n, \t, \r).
std::string execArgument(const std::string& argument);

}  // namespace corvane::linux_desktop
