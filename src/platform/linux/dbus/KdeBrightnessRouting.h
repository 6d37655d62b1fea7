#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/IORegistry.h"
#include "platform/PrivateDisplayFunctions.h"
#include "platform/linux/dbus/KdeScreenBrightness.h"

namespace corvane::linux_desktop {

// The DDC/CI registry as seen beside Plasma: the same walk as `inner`'s, but an external
// monitor that Plasma drives gets, instead of its i2c-dev bus, a stand-in service that carries
// the core's brightness requests to Plasma (monitors are paired by their EDID name and
// Plasma's label); while Plasma drives monitors, one that pairs with none of them, or with
// more than one, gets no service at all. Main thread only.
class KdeDdcRegistry final : public IORegistry {
  public:
    using ServiceFactory = std::function<AVServiceHandle(RegistryEntryID)>;

    KdeDdcRegistry(IORegistry& inner, ServiceFactory innerServices,
                   const KdeScreenBrightness& kde);

    std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view plane) override;
    std::string className(RegistryEntryID entry) override;
    std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) override;

    AVServiceHandle createAVService(RegistryEntryID entry) const;

  private:
    IORegistry& inner_;
    ServiceFactory innerServices_;
    const KdeScreenBrightness& kde_;
    // The EDID name of the monitor behind each bus entry of the last walk.
    std::map<RegistryEntryID, std::string> monitorNames_;
};

// The private display functions with Plasma in the loop: the built-in panel's backlight
// through Plasma when it drives the panel (`isBuiltin` says which display that is), DDC/CI
// requests to a monitor Plasma drives answered and carried out through it; everything else
// goes to `inner`.
PrivateDisplayFunctions kdeAwareFunctions(PrivateDisplayFunctions inner,
                                          const KdeScreenBrightness& kde,
                                          const KdeDdcRegistry& registry,
                                          std::function<bool(DisplayID)> isBuiltin);

}  // namespace corvane::linux_desktop
