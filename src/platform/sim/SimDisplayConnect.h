#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/DisplayCatalog.h"
#include "platform/DisplayConnectServices.h"

namespace corvane::sim {

class SimDesktop;

// Display-connect services: each one carries an information dictionary and reaches the
// backlight of one simulated display through its "brightness" parameter.
class SimDisplayConnect final : public DisplayConnectServices {
public:
    static constexpr std::int32_t kFailure = -536870212;

    explicit SimDisplayConnect(SimDesktop& desktop) : desktop_(desktop) {}

    std::optional<std::vector<DisplayConnectID>> matchingServices() override;
    std::optional<Dictionary> infoDictionary(DisplayConnectID service) override;
    std::int32_t getFloatParameter(DisplayConnectID service, std::string_view name,
                                   float* value) override;
    std::int32_t setFloatParameter(DisplayConnectID service, std::string_view name,
                                   float value) override;

    // Adds a service whose "brightness" drives `backlightOf`'s backlight; `info` none means
    // that no information dictionary can be made for it.
    DisplayConnectID add(std::optional<Dictionary> info, DisplayID backlightOf);
    // The information dictionary a panel's own service carries.
    static Dictionary infoFor(std::uint32_t vendor, std::uint32_t product, std::uint32_t serial,
                              bool builtin);
    void setMatchingFails(bool fails) { matchingFails_ = fails; }

private:
    struct Service {
        std::optional<Dictionary> info;
        DisplayID backlightOf;
    };

    SimDesktop& desktop_;
    std::map<DisplayConnectID, Service> services_;
    DisplayConnectID nextId_ = 0x2001;
    bool matchingFails_ = false;
};

}  // namespace corvane::sim
