#pragma once

#include <QString>
#include <vector>

#include "platform/linux/DisplayIdentities.h"

class QScreen;

namespace corvane::app {

// What Qt says about a screen's monitor: its output name and the identity from its EDID.
struct ScreenIdentity {
    QString name;  // the RandR output name on X11 ("eDP-1", "eDP1", "HDMI-1")
    QString manufacturer;
    QString model;
    QString serialNumber;

    static ScreenIdentity of(const QScreen& screen);
};

// The display a screen shows: the one whose RandR output has the screen's name, else one
// without a known output whose connector the screen's output name names, else
// the one whose EDID has the screen's manufacturer, model and serial number; nullptr when
// none does.
//
// Qt reads those three from the EDID too, but spells them its own way: the manufacturer as
// the three-letter PNP ID or the vendor's full name (which cannot be checked against the ID,
// so any name that is not an ID passes), the model as the monitor-name descriptor or the
// product code, and the serial number as the serial descriptor or the numeric serial.
const linux_desktop::ConnectedDisplay* matchDisplay(
    const ScreenIdentity& screen, const std::vector<linux_desktop::ConnectedDisplay>& displays);

}  // namespace corvane::app
