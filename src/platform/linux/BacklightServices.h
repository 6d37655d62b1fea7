#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "platform/DisplayConnectServices.h"
#include "platform/linux/BacklightWriter.h"
#include "platform/linux/DrmDisplayCatalog.h"

namespace corvane::linux_desktop {

// One display-connect service per built-in panel that has a backlight device, numbered as
// the catalog numbers the panel's display. Its "brightness" parameter is the backlight level
// as a fraction, 0...1. Follows the catalog's last reading of the connectors; the backlight
// device is chosen afresh on every call, and a change of choice is logged.
//
// Panels as they are: level 0 keeps a floor of one raw unit (1 % of the maximum on panels
// with more than 100 steps), since raw 0 switches many backlights off. On a panel with few
// steps (at most 16) a level that differs from the one shown moves at least one raw unit, and
// while the device still holds the raw value last written, reading gives back the level that
// was asked for rather than the rounded one, so the poll does not take the rounding for a
// change. Main thread only.
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
    struct Written {
        double level = 0;
        std::uint64_t raw = 0;
    };

    const ConnectedDisplay* panel(DisplayConnectID service) const;
    std::optional<BacklightDevice> backlight(DisplayConnectID service) const;
    // The level a reading shows: the one asked for while the device holds what was written.
    double shownLevel(const BacklightDevice& device, const BacklightReading& reading) const;

    const DrmDisplayCatalog& catalog_;
    std::filesystem::path sysfsRoot_;
    BacklightWriter& writer_;
    std::map<std::string, Written> written_;             // by device name
    mutable std::map<DisplayConnectID, std::string> chosen_;  // the device each panel uses
};

}  // namespace corvane::linux_desktop
