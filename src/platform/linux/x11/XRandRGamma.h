#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
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
// linearly both ways. A display is shown by the CRTCs of the outputs with the RandR output name
// its lookup gives; reads come from the first, writes go to all.
//
// The outputs, their CRTCs and the ramp sizes are kept from one reading and read again only
// after the server reports a RandR change, so a write is a single SetCrtcGamma request per
// CRTC and one round trip to catch its error. A CRTC's ramp is read just before this object
// first changes it; restoreColorProfiles() puts back the ramps of the CRTCs it changed, and
// only those, so a night-light tool or a calibration loaded after start stays in force
// elsewhere. The X server keeps a ramp after its client has gone, so the CRTCs still changed
// get their ramps back when this object is dropped too. In a Wayland session nothing is read
// or written. Main thread only.
class XRandRGamma final : public GammaTables {
  public:
    // The RandR output name of a display, none for a display no output shows.
    using OutputNameLookup = std::function<std::optional<std::string>(DisplayID)>;

    // Uses its own connection to `displayName` ($DISPLAY when empty).
    XRandRGamma(const std::string& displayName, OutputNameLookup outputName);
    // Uses `connection` (null: unavailable).
    XRandRGamma(std::unique_ptr<X11Connection> connection, OutputNameLookup outputName);
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
    struct Output {
        std::string name;
        unsigned long crtc = 0;
    };

    void takeConnection(std::unique_ptr<X11Connection> connection);
    void readLayoutIfChanged();
    std::vector<unsigned long> crtcsOf(DisplayID id) const;
    std::optional<Ramp> readRamp(unsigned long crtc) const;
    bool writeRamp(unsigned long crtc, const Ramp& ramp) const;

    std::unique_ptr<X11Connection> connection_;
    OutputNameLookup outputName_;
    int randrEventBase_ = 0;
    bool layoutStale_ = true;
    std::vector<Output> outputs_;
    std::map<unsigned long, std::size_t> rampSizes_;
    std::map<unsigned long, Ramp> before_;  // the ramps of the CRTCs changed, as they were
};

}  // namespace corvane::linux_desktop
