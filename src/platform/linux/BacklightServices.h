#pragma once

#include <filesystem>

#include "platform/DisplayConnectServices.h"
#include "platform/linux/BacklightWriter.h"
#include "platform/linux/DrmDisplayCatalog.h"

namespace corvane::linux_desktop {

// One display-connect service per built-in panel that has a backlight device, numbered as
// the catalog numbers the panel's display. Its "brightness" parameter is the backlight level
// as a fraction, 0...1. Follows the catalog's last reading of the connectors; the backlight
// device is chosen afresh on every call. Main thread only.
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
    const ConnectedDisplay* panel(DisplayConnectID service) const;
    std::optional<BacklightDevice> backlight(DisplayConnectID service) const;

    const DrmDisplayCatalog& catalog_;
    std::filesystem::path sysfsRoot_;
    BacklightWriter& writer_;
};

}  // namespace corvane::linux_desktop
