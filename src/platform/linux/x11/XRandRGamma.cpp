#include "platform/linux/x11/XRandRGamma.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/linux/x11/GammaResampling.h"
#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/RandROutputs.h"
#include "platform/linux/x11/WaylandSession.h"
#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

bool sameSizes(std::size_t red, std::size_t green, std::size_t blue) {
    return red > 0 && red == green && red == blue;
}

}  // namespace

XRandRGamma::XRandRGamma(const std::string& displayName, ConnectorNameLookup connectorName)
    : connectorName_(std::move(connectorName)) {
    if (isWaylandSession()) return;
    connection_ = X11Connection::open(displayName);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (connection_ &&
        !(XRRQueryExtension(connection_->display(), &eventBase, &errorBase) &&
          XRRQueryVersion(connection_->display(), &major, &minor) && (major > 1 || minor >= 2)))
        connection_.reset();
    if (connection_) captureUnseen(allCrtcs());
}

XRandRGamma::~XRandRGamma() {
    for (unsigned long crtc : changed_)
        if (auto it = captured_.find(crtc); it != captured_.end()) writeRamp(crtc, it->second);
}

std::vector<unsigned long> XRandRGamma::allCrtcs() const {
    Display* display = connection_->display();
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (!resources) return {};
    std::vector<unsigned long> crtcs(resources->crtcs, resources->crtcs + resources->ncrtc);
    XRRFreeScreenResources(resources);
    return crtcs;
}

std::vector<unsigned long> XRandRGamma::crtcsOf(DisplayID id) const {
    const std::optional<std::string> connector = connectorName_ ? connectorName_(id) : std::nullopt;
    if (!connector) return {};
    std::vector<unsigned long> crtcs;
    for (const RandROutput& output : readRandROutputs(*connection_).outputs) {
        if (sameOutputName(*connector, output.name) &&
            std::find(crtcs.begin(), crtcs.end(), output.crtc) == crtcs.end())
            crtcs.push_back(output.crtc);
    }
    return crtcs;
}

int XRandRGamma::rampSize(unsigned long crtc) const {
    X11ErrorTrap trap(connection_->display());
    const int size = XRRGetCrtcGammaSize(connection_->display(), crtc);
    return trap.failed() ? -1 : size;
}

std::optional<XRandRGamma::Ramp> XRandRGamma::readRamp(unsigned long crtc) const {
    X11ErrorTrap trap(connection_->display());
    XRRCrtcGamma* gamma = XRRGetCrtcGamma(connection_->display(), crtc);
    if (trap.failed() || !gamma || gamma->size <= 0) {
        if (gamma) XRRFreeGamma(gamma);
        return std::nullopt;
    }
    const auto count = static_cast<std::size_t>(gamma->size);
    Ramp ramp{{gamma->red, gamma->red + count},
              {gamma->green, gamma->green + count},
              {gamma->blue, gamma->blue + count}};
    XRRFreeGamma(gamma);
    return ramp;
}

bool XRandRGamma::writeRamp(unsigned long crtc, const Ramp& ramp) const {
    if (ramp.red.empty()) return false;
    XRRCrtcGamma* gamma = XRRAllocGamma(static_cast<int>(ramp.red.size()));
    if (!gamma) return false;
    std::copy(ramp.red.begin(), ramp.red.end(), gamma->red);
    std::copy(ramp.green.begin(), ramp.green.end(), gamma->green);
    std::copy(ramp.blue.begin(), ramp.blue.end(), gamma->blue);
    X11ErrorTrap trap(connection_->display());
    XRRSetCrtcGamma(connection_->display(), crtc, gamma);
    XRRFreeGamma(gamma);
    return !trap.failed();
}

void XRandRGamma::captureUnseen(const std::vector<unsigned long>& crtcs) {
    for (unsigned long crtc : crtcs) {
        if (captured_.contains(crtc)) continue;
        if (std::optional<Ramp> ramp = readRamp(crtc)) captured_.emplace(crtc, std::move(*ramp));
    }
}

void XRandRGamma::restoreColorProfiles() {
    if (!connection_) return;
    const std::vector<unsigned long> crtcs = allCrtcs();
    captureUnseen(crtcs);
    for (unsigned long crtc : crtcs)
        if (auto it = captured_.find(crtc); it != captured_.end()) writeRamp(crtc, it->second);
}

std::int32_t XRandRGamma::readTransferTable(DisplayID id, std::span<float> red,
                                            std::span<float> green, std::span<float> blue,
                                            std::uint32_t* sampleCount) {
    if (sampleCount) *sampleCount = 0;
    if (!connection_) return kGammaUnavailable;
    if (!sameSizes(red.size(), green.size(), blue.size())) return kGammaBadTable;
    const std::vector<unsigned long> crtcs = crtcsOf(id);
    if (crtcs.empty()) return kGammaNoOutput;
    captureUnseen(crtcs);
    std::optional<Ramp> ramp = readRamp(crtcs.front());
    if (!ramp) return kGammaNoRamp;
    const std::size_t entries = std::min(red.size(), kGammaTableEntries);
    std::ranges::copy(rampToTable(ramp->red, entries), red.begin());
    std::ranges::copy(rampToTable(ramp->green, entries), green.begin());
    std::ranges::copy(rampToTable(ramp->blue, entries), blue.begin());
    if (sampleCount) *sampleCount = static_cast<std::uint32_t>(entries);
    return 0;
}

std::int32_t XRandRGamma::writeTransferTable(DisplayID id, std::span<const float> red,
                                             std::span<const float> green,
                                             std::span<const float> blue) {
    if (!connection_) return kGammaUnavailable;
    if (!sameSizes(red.size(), green.size(), blue.size())) return kGammaBadTable;
    const std::vector<unsigned long> crtcs = crtcsOf(id);
    if (crtcs.empty()) return kGammaNoOutput;
    // The ramps as they were before this object first changed them.
    captureUnseen(crtcs);
    std::int32_t status = 0;
    for (unsigned long crtc : crtcs) {
        const int size = rampSize(crtc);
        if (size <= 0) {
            status = kGammaNoRamp;
            continue;
        }
        const auto entries = static_cast<std::size_t>(size);
        const Ramp ramp{tableToRamp(red, entries), tableToRamp(green, entries),
                        tableToRamp(blue, entries)};
        if (!writeRamp(crtc, ramp)) status = kGammaNoRamp;
        changed_.insert(crtc);
    }
    return status;
}

}  // namespace corvane::linux_desktop
