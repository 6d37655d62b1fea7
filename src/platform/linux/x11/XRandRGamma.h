#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/GammaTables.h"
#include "platform/linux/x11/X11Connection.h"

namespace corvane::linux_desktop {

// Status codes of XRandRGamma besides 0 (success).
enum XRandRGammaStatus : std::int32_t {
    kGammaUnavailable = 1,  // no X server, no RandR 1.2, or a Wayland session
    kGammaNoOutput = 2,     // the display has no connected output with a CRTC
    kGammaBadTable = 3,     // empty spans, or spans of unequal size
    kGammaNoRamp = 4,       // a CRTC with a ramp of size 0, or one that vanished
};

// Gamma tables on the CRTC gamma ramps of X RandR. The ramps have whatever size the driver
// gives them and 16-bit entries; the tables the core sees have 256 float entries, resampled
// linearly both ways. A display is shown by the CRTCs of the outputs whose names match its
// connector name; reads come from the first, writes go to all. Each CRTC's ramp is captured
// the first time this object sees it (at construction for those present then), and
// restoreColorProfiles() puts those captures back. The X server keeps a ramp after its client
// has gone, so the CRTCs this object changed get their captures back when it is dropped too.
// In a Wayland session nothing is read or written. Main thread only.
class XRandRGamma final : public GammaTables {
  public:
    // The connector name of a display ("eDP-1"), none for a display it does not know.
    using ConnectorNameLookup = std::function<std::optional<std::string>(DisplayID)>;

    // Uses its own connection to `displayName` ($DISPLAY when empty).
    XRandRGamma(const std::string& displayName, ConnectorNameLookup connectorName);
    ~XRandRGamma() override;

    // Whether gamma can be read and written at all.
    bool isAvailable() const { return connection_ != nullptr; }

    void restoreColorProfiles() override;
    std::int32_t readTransferTable(DisplayID id, std::span<float> red, std::span<float> green,
                                   std::span<float> blue, std::uint32_t* sampleCount) override;
    std::int32_t writeTransferTable(DisplayID id, std::span<const float> red,
                                    std::span<const float> green,
                                    std::span<const float> blue) override;

  private:
    struct Ramp {
        std::vector<std::uint16_t> red, green, blue;
    };

    std::vector<unsigned long> crtcsOf(DisplayID id) const;
    std::vector<unsigned long> allCrtcs() const;
    void captureUnseen(const std::vector<unsigned long>& crtcs);
    std::optional<Ramp> readRamp(unsigned long crtc) const;
    bool writeRamp(unsigned long crtc, const Ramp& ramp) const;
    int rampSize(unsigned long crtc) const;

    std::unique_ptr<X11Connection> connection_;
    ConnectorNameLookup connectorName_;
    std::map<unsigned long, Ramp> captured_;
    std::set<unsigned long> changed_;
};

}  // namespace corvane::linux_desktop
