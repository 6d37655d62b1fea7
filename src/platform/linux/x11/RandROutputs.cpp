#include "platform/linux/x11/RandROutputs.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <type_traits>

#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/OutputPairing.h"
#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

bool hasRandR12(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) &&
           XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 2));
}

// An INTEGER output property of the given format: its bytes (format 8) or its first value
// (format 32, in the long Xlib hands back).
template <typename Result>
std::optional<Result> integerProperty(Display* display, RROutput output, const char* name,
                                      int wantedFormat, long length) {
    Atom atom = XInternAtom(display, name, True);
    if (atom == None) return std::nullopt;
    unsigned char* data = nullptr;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    std::optional<Result> result;
    if (XRRGetOutputProperty(display, output, atom, 0, length, False, False, AnyPropertyType,
                             &type, &format, &count, &remaining, &data) == Success &&
        type == XA_INTEGER && format == wantedFormat && count > 0 && data) {
        if constexpr (std::is_same_v<Result, std::vector<std::uint8_t>>)
            result.emplace(data, data + count);
        else
            result = static_cast<Result>(*reinterpret_cast<const long*>(data));
    }
    if (data) XFree(data);
    return result;
}

std::optional<unsigned> connectorIdOf(Display* display, RROutput output) {
    std::optional<long> id = integerProperty<long>(display, output, "CONNECTOR_ID", 32, 1);
    if (!id || *id <= 0 || *id > static_cast<long>(~0u)) return std::nullopt;
    return static_cast<unsigned>(*id);
}

std::optional<RandROutput> outputOf(Display* display, XRRScreenResources* resources,
                                    RROutput output, RROutput primary) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
    if (!info) return std::nullopt;
    std::optional<RandROutput> result;
    if (info->connection == RR_Connected && info->crtc != None) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, info->crtc);
        if (crtc) {
            result = RandROutput{std::string(info->name, static_cast<std::size_t>(info->nameLen)),
                                 info->crtc,
                                 integerProperty<std::vector<std::uint8_t>>(
                                     display, output, "EDID", 8, 256),
                                 crtc->x,
                                 crtc->y,
                                 crtc->width,
                                 crtc->height,
                                 output == primary,
                                 connectorIdOf(display, output)};
            XRRFreeCrtcInfo(crtc);
        }
    }
    XRRFreeOutputInfo(info);
    return result;
}

bool isBuiltinOutput(const std::string& name) {
    const std::string canonical = canonicalOutputName(name);
    for (std::string_view type : {"edp", "lvds", "dsi"})
        if (canonical == type || canonical.starts_with(std::string(type) + "-")) return true;
    return false;
}

}  // namespace

std::optional<std::string> RandROutputs::primaryName() const {
    auto primary = std::find_if(outputs.begin(), outputs.end(),
                                [](const RandROutput& output) { return output.primary; });
    if (primary == outputs.end()) return std::nullopt;
    return primary->name;
}

RandROutputs readRandROutputs(const X11Connection& connection) {
    Display* display = connection.display();
    if (!hasRandR12(display)) return {};
    // An output or CRTC may go away between two requests; that output is then left out.
    X11ErrorTrap trap(display);
    Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return {};
    const RROutput primary = XRRGetOutputPrimary(display, root);
    RandROutputs result;
    for (int i = 0; i < resources->noutput; ++i)
        if (auto output = outputOf(display, resources, resources->outputs[i], primary))
            result.outputs.push_back(std::move(*output));
    XRRFreeScreenResources(resources);
    return result;
}

std::vector<DrmConnector> withRandROutputs(std::vector<DrmConnector> connectors,
                                           const RandROutputs& outputs) {
    const std::vector<std::optional<std::size_t>> pairs = pairOutputs(connectors, outputs.outputs);
    std::vector<bool> shown(outputs.outputs.size(), false);
    for (std::size_t c = 0; c < connectors.size(); ++c) {
        if (!pairs[c]) continue;
        connectors[c].randrOutput = outputs.outputs[*pairs[c]].name;
        connectors[c].enabled = true;
        shown[*pairs[c]] = true;
    }
    for (std::size_t o = 0; o < outputs.outputs.size(); ++o) {
        if (shown[o]) continue;
        const RandROutput& output = outputs.outputs[o];
        DrmConnector standIn;
        standIn.sysfsName = "randr-" + output.name;
        standIn.name = output.name;
        standIn.builtin = isBuiltinOutput(output.name);
        standIn.randrOutput = output.name;
        if (output.edid) standIn.edid = parseEdid(*output.edid);
        connectors.push_back(std::move(standIn));
    }
    return connectors;
}

DrmDisplayCatalog::MainDisplayChooser primaryOutputChooser(
    std::function<std::optional<std::string>()> primaryName) {
    return [primaryName = std::move(primaryName)](const std::vector<ConnectedDisplay>& displays) {
        if (std::optional<std::string> primary = primaryName()) {
            for (const ConnectedDisplay& display : displays) {
                const std::optional<std::string>& output = display.connector.randrOutput;
                if (output ? *output == *primary : sameOutputName(display.connector.name, *primary))
                    return display.id;
            }
        }
        return DrmDisplayCatalog::firstBuiltinElseFirst(displays);
    };
}

}  // namespace corvane::linux_desktop
