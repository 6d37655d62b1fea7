#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "platform/DisplayConnectServices.h"
#include "platform/linux/BacklightWriter.h"
#include "platform/linux/DeviceFolderChanges.h"
#include "platform/linux/DrmDisplayCatalog.h"
#include "platform/linux/SysfsBacklight.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {

// One display-connect service per built-in panel that has a backlight device, numbered as
// the catalog numbers the panel's display. Its "brightness" parameter is the backlight level
// as a fraction, 0...1. Follows the catalog's last reading of the connectors. A panel's
// backlight device is chosen again only when the backlight folder changed (a device came or
// went) or the panel moved to another connector; its level file stays open between reads, so
// a poll's read is a single system call. Main thread only.
class BacklightServices final : public DisplayConnectServices {
  public:
    static constexpr std::int32_t kFailure = -1;

    BacklightServices(const DrmDisplayCatalog& catalog, std::filesystem::path sysfsRoot,
                      BacklightWriter& writer);

    std::optional<std::vector<DisplayConnectID>> matchingServices() override;
    std::optional<Dictionary> infoDictionary(DisplayConnectID service) override;
    std::int32_t getFloatParameter(DisplayConnectID service, std::string_view name,
                                   float* value) override;
    std::int32_t setFloatParameter(DisplayConnectID service, std::string_view name,
                                   float value) override;

  private:
    // A panel's backlight as last chosen, with its maximum and its open level file.
    struct Chosen {
        std::filesystem::path connector;
        BacklightDevice device;
        std::uint64_t max = 0;
        std::shared_ptr<OpenValueFile> level;
    };

    const ConnectedDisplay* panel(DisplayConnectID service) const;
    const Chosen* backlight(DisplayConnectID service);

    const DrmDisplayCatalog& catalog_;
    std::filesystem::path sysfsRoot_;
    BacklightWriter& writer_;
    DeviceFolderChanges changes_;
    std::map<DisplayConnectID, std::optional<Chosen>> chosen_;
};

}  // namespace corvane::linux_desktop
