#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/DisplayCatalog.h"
#include "platform/linux/DisplayIdentities.h"

namespace corvane::linux_desktop {

// The displays attached to DRM connectors that show a picture. Listing the online displays
// reads sysfs again; every other question is answered from that last reading. The displays
// are listed built-in panels first, then the main display, then the rest in name order, so a
// cap on their number never drops the laptop's own panel. Main thread only.
class DrmDisplayCatalog final : public DisplayCatalog {
  public:
    // Picks the main display among the connected ones (never called with none).
    using MainDisplayChooser = std::function<DisplayID(const std::vector<ConnectedDisplay>&)>;
    // Completes the connectors read from sysfs (with displays the window system knows of, and
    // whether it shows them), before they are named.
    using ConnectorMerge = std::function<std::vector<DrmConnector>(std::vector<DrmConnector>)>;

    // The first built-in panel, else the first display.
    static DisplayID firstBuiltinElseFirst(const std::vector<ConnectedDisplay>& displays);

    explicit DrmDisplayCatalog(std::filesystem::path sysfsRoot,
                               MainDisplayChooser chooseMain = firstBuiltinElseFirst,
                               ConnectorMerge merge = {});

    std::vector<DisplayID> onlineDisplays(std::size_t capacity) const override;
    bool isBuiltin(DisplayID id) const override;
    DisplayID mainDisplay() const override;
    std::uint32_t vendorNumber(DisplayID id) const override;
    std::uint32_t modelNumber(DisplayID id) const override;
    std::uint32_t serialNumber(DisplayID id) const override;
    std::optional<std::string> uuid(DisplayID id) const override;

    // Reads the connectors again.
    void refresh() const;
    // The displays as last read.
    const std::vector<ConnectedDisplay>& displays() const { return displays_; }
    // A display as last read, or nullptr.
    const ConnectedDisplay* display(DisplayID id) const;

  private:
    const Edid* edid(DisplayID id) const;

    std::filesystem::path sysfsRoot_;
    MainDisplayChooser chooseMain_;
    ConnectorMerge merge_;
    mutable DisplayIdentities identities_;
    mutable std::vector<ConnectedDisplay> displays_;
};

}  // namespace corvane::linux_desktop
