#include "platform/linux/x11/RandROutputs.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "platform/linux/x11/OutputNames.h"
#include "platform/linux/x11/X11ErrorTrap.h"

namespace corvane::linux_desktop {
namespace {

bool hasRandR12(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) &&
           XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 2));
}

std::optional<std::vector<std::uint8_t>> edidOf(Display* display, RROutput output) {
    Atom edidAtom = XInternAtom(display, "EDID", True);
    if (edidAtom == None) return std::nullopt;
    unsigned char* data = nullptr;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    std::optional<std::vector<std::uint8_t>> edid;
    if (XRRGetOutputProperty(display, output, edidAtom, 0, 256, False, False, AnyPropertyType,
                             &type, &format, &count, &remaining, &data) == Success &&
        type == XA_INTEGER && format == 8 && count > 0)
        edid.emplace(data, data + count);
    if (data) XFree(data);
    return edid;
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
                                 edidOf(display, output),
                                 crtc->x,
                                 crtc->y,
                                 crtc->width,
                                 crtc->height,
                                 output == primary};
            XRRFreeCrtcInfo(crtc);
        }
    }
    XRRFreeOutputInfo(info);
    return result;
}

bool isBuiltinOutput(const std::string& name) {
    const std::string canonical = canonicalOutputName(name);
    for (std::string_view type : {"edp-", "lvds-", "dsi-"})
        if (canonical.starts_with(type)) return true;
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

std::vector<DrmConnector> withRandROnlyOutputs(std::vector<DrmConnector> connectors,
                                               const RandROutputs& outputs) {
    const std::size_t drmCount = connectors.size();
    for (const RandROutput& output : outputs.outputs) {
        const auto end = connectors.begin() + static_cast<std::ptrdiff_t>(drmCount);
        if (std::any_of(connectors.begin(), end, [&](const DrmConnector& connector) {
                return sameOutputName(connector.name, output.name);
            }))
            continue;
        DrmConnector standIn;
        standIn.sysfsName = "randr-" + output.name;
        standIn.name = output.name;
        standIn.builtin = isBuiltinOutput(output.name);
        if (output.edid) standIn.edid = parseEdid(*output.edid);
        connectors.push_back(std::move(standIn));
    }
    return connectors;
}

DrmDisplayCatalog::MainDisplayChooser primaryOutputChooser(
    std::function<std::optional<std::string>()> primaryName) {
    return [primaryName = std::move(primaryName)](const std::vector<ConnectedDisplay>& displays) {
        if (std::optional<std::string> primary = primaryName()) {
            for (const ConnectedDisplay& display : displays)
                if (sameOutputName(display.connector.name, *primary)) return display.id;
        }
        return DrmDisplayCatalog::firstBuiltinElseFirst(displays);
    };
}

}  // namespace corvane::linux_desktop
