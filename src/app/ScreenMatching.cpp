#include "app/ScreenMatching.h"

#include <QScreen>
#include <algorithm>

#include "platform/linux/x11/OutputNames.h"

namespace corvane::app {
namespace {

using linux_desktop::ConnectedDisplay;
using linux_desktop::Edid;

bool same(const QString& text, const QString& expected) {
    return !expected.trimmed().isEmpty() &&
           text.trimmed().compare(expected.trimmed(), Qt::CaseInsensitive) == 0;
}

bool same(const QString& text, const std::string& expected) {
    return same(text, QString::fromStdString(expected));
}

bool manufacturerMatches(const QString& manufacturer, const Edid& edid) {
    if (manufacturer.size() == 3) return same(manufacturer, edid.vendor);
    return !manufacturer.isEmpty();
}

bool modelMatches(const QString& model, const Edid& edid) {
    return same(model, edid.name) || same(model, QString::number(edid.product, 16)) ||
           same(model, QString::number(edid.product));
}

bool serialMatches(const QString& serial, const Edid& edid) {
    return same(serial, edid.serialText) ||
           (edid.serial != 0 && same(serial, QString::number(edid.serial)));
}

bool sameMonitor(const ScreenIdentity& screen, const ConnectedDisplay& display) {
    const std::optional<Edid>& edid = display.connector.edid;
    return edid && manufacturerMatches(screen.manufacturer, *edid) &&
           modelMatches(screen.model, *edid) && serialMatches(screen.serialNumber, *edid);
}

}  // namespace

ScreenIdentity ScreenIdentity::of(const QScreen& screen) {
    return {screen.name(), screen.manufacturer(), screen.model(), screen.serialNumber()};
}

const ConnectedDisplay* matchDisplay(const ScreenIdentity& screen,
                                     const std::vector<ConnectedDisplay>& displays) {
    const std::string name = screen.name.toStdString();
    auto byOutput = std::find_if(displays.begin(), displays.end(), [&](const ConnectedDisplay& d) {
        return d.connector.randrOutput == name;
    });
    if (byOutput != displays.end()) return &*byOutput;
    // A display an output is known to show is found by that output's name alone: X drivers
    // number ports their own way, so a kernel name may be another port's output name.
    auto byName = std::find_if(displays.begin(), displays.end(), [&](const ConnectedDisplay& d) {
        return !d.connector.randrOutput &&
               linux_desktop::sameOutputName(d.connector.sysfsName, name);
    });
    if (byName != displays.end()) return &*byName;
    auto byEdid = std::find_if(displays.begin(), displays.end(),
                               [&](const ConnectedDisplay& d) { return sameMonitor(screen, d); });
    return byEdid != displays.end() ? &*byEdid : nullptr;
}

}  // namespace corvane::app
