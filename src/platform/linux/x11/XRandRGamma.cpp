#include "platform/linux/x11/XRandRGamma.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/linux/x11/GammaResampling.h"
#include "platform/linux/x11/WaylandSession.h"
#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

bool sameSizes(std::size_t red, std::size_t green, std::size_t blue) {
    return red > 0 && red == green && red == blue;
}

// The RandR event base when the server has RandR 1.2 or later.
std::optional<int> randr12EventBase(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || !(major > 1 || minor >= 2))
        return std::nullopt;
    return eventBase;
}

// The first request whose errors count, and whether one came, for the catcher below.
unsigned long watchedFrom = 0;
bool watchedFailed = false;

int recordWatchedError(Display*, XErrorEvent* error) {
    if (error->serial >= watchedFrom) watchedFailed = true;
    return 0;
}

// Whether a request from `firstRequest` on failed: one round trip, unlike a full error trap,
// which also waits for the server before the requests are made.
bool requestsFailed(Display* display, unsigned long firstRequest) {
    watchedFrom = firstRequest;
    watchedFailed = false;
    XErrorHandler previous = XSetErrorHandler(&recordWatchedError);
    XSync(display, False);
    XSetErrorHandler(previous);
    return watchedFailed;
}

}  // namespace

XRandRGamma::XRandRGamma(const std::string& displayName, OutputNameLookup outputName)
    : outputName_(std::move(outputName)) {
    if (!isWaylandSession()) takeConnection(X11Connection::open(displayName));
}

XRandRGamma::XRandRGamma(std::unique_ptr<X11Connection> connection, OutputNameLookup outputName)
    : outputName_(std::move(outputName)) {
    if (!isWaylandSession()) takeConnection(std::move(connection));
}

void XRandRGamma::takeConnection(std::unique_ptr<X11Connection> connection) {
    if (!connection) return;
    Display* display = connection->display();
    const std::optional<int> eventBase = randr12EventBase(display);
    if (!eventBase) return;
    randrEventBase_ = *eventBase;
    connection_ = std::move(connection);
    // The layout is read again only when the server says it changed.
    XRRSelectInput(display, DefaultRootWindow(display),
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
}

XRandRGamma::~XRandRGamma() {
    restoreColorProfiles();
}

// Takes in the events that have arrived, without a round trip; any RandR event marks the
// layout stale.
void XRandRGamma::readLayoutIfChanged() {
    Display* display = connection_->display();
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XRRUpdateConfiguration(&event);
        if (event.type >= randrEventBase_ && event.type <= randrEventBase_ + RRNotify)
            layoutStale_ = true;
    }
    if (!layoutStale_) return;
    layoutStale_ = false;
    outputs_.clear();
    rampSizes_.clear();
    // An output or CRTC may go away between two requests; it is then left out.
    X11ErrorTrap trap(display);
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (!resources) return;
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        if (!info) continue;
        if (info->connection == RR_Connected && info->crtc != None)
            outputs_.push_back(
                {std::string(info->name, static_cast<std::size_t>(info->nameLen)), info->crtc});
        XRRFreeOutputInfo(info);
    }
    for (const Output& output : outputs_) {
        const int size = XRRGetCrtcGammaSize(display, output.crtc);
        rampSizes_[output.crtc] = size > 0 ? static_cast<std::size_t>(size) : 0;
    }
    XRRFreeScreenResources(resources);
}

std::vector<unsigned long> XRandRGamma::crtcsOf(DisplayID id) const {
    const std::optional<std::string> name = outputName_ ? outputName_(id) : std::nullopt;
    if (!name) return {};
    std::vector<unsigned long> crtcs;
    for (const Output& output : outputs_)
        if (output.name == *name &&
            std::find(crtcs.begin(), crtcs.end(), output.crtc) == crtcs.end())
            crtcs.push_back(output.crtc);
    return crtcs;
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

// One SetCrtcGamma request; the trap's single round trip tells whether it failed.
bool XRandRGamma::writeRamp(unsigned long crtc, const Ramp& ramp) const {
    if (ramp.red.empty()) return false;
    XRRCrtcGamma* gamma = XRRAllocGamma(static_cast<int>(ramp.red.size()));
    if (!gamma) return false;
    std::copy(ramp.red.begin(), ramp.red.end(), gamma->red);
    std::copy(ramp.green.begin(), ramp.green.end(), gamma->green);
    std::copy(ramp.blue.begin(), ramp.blue.end(), gamma->blue);
    Display* display = connection_->display();
    const unsigned long request = NextRequest(display);
    XRRSetCrtcGamma(display, crtc, gamma);
    XRRFreeGamma(gamma);
    return !requestsFailed(display, request);
}

void XRandRGamma::restoreColorProfiles() {
    if (!connection_) return;
    for (const auto& [crtc, ramp] : before_) writeRamp(crtc, ramp);
    before_.clear();
}

std::int32_t XRandRGamma::readTransferTable(DisplayID id, std::span<float> red,
                                            std::span<float> green, std::span<float> blue,
                                            std::uint32_t* sampleCount) {
    if (sampleCount) *sampleCount = 0;
    if (!connection_) return kGammaUnavailable;
    if (!sameSizes(red.size(), green.size(), blue.size())) return kGammaBadTable;
    readLayoutIfChanged();
    const std::vector<unsigned long> crtcs = crtcsOf(id);
    if (crtcs.empty()) return kGammaNoOutput;
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
    readLayoutIfChanged();
    const std::vector<unsigned long> crtcs = crtcsOf(id);
    if (crtcs.empty()) return kGammaNoOutput;
    std::int32_t status = 0;
    for (unsigned long crtc : crtcs) {
        const std::size_t entries = rampSizes_[crtc];
        if (entries == 0) {
            status = kGammaNoRamp;
            continue;
        }
        // The ramp as it is just before the first change, whatever set it.
        if (!before_.contains(crtc))
            if (std::optional<Ramp> ramp = readRamp(crtc)) before_.emplace(crtc, std::move(*ramp));
        const Ramp ramp{tableToRamp(red, entries), tableToRamp(green, entries),
                        tableToRamp(blue, entries)};
        if (!writeRamp(crtc, ramp)) {
            status = kGammaNoRamp;
            layoutStale_ = true;  // a CRTC that vanished: read the layout again next time
        }
    }
    return status;
}

}  // namespace corvane::linux_desktop
