#include "display/DisplaySession.h"

#include <cmath>

#include "display/ScreenLookup.h"
#include "model/CorvaneUUID.h"
#include "model/PreferenceKeys.h"
#include "model/Rounding.h"

namespace corvane {

DisplaySession::DisplaySession(const Platform& platform, DisplayID id, AVServiceHandle ddcService)
    : platform_(&platform),
      id_(id),
      uuid_(corvaneUUID(platform.displays, id)),
      isBuiltin_(platform.displays.isBuiltin(id)),
      isMain_(platform.displays.mainDisplay() == id),
      supportsXDR_(XDROverlay::isSupported(platform, id)),
      sdrNits_(supportsXDR_ ? kBoostSDRNits : kPlainNits),
      peakNits_(supportsXDR_ ? kBoostPeakNits : kPlainNits),
      name_(resolveName(platform, id, isBuiltin_)),
      native_(NativeBacklight::probe(platform, id)),
      ddc_(ddcService ? DDCController::make(platform, id, std::move(ddcService)) : nullptr),
      software_(platform, id),
      path_(initialPath()),
      percent_(startingLevel()),
      backlightTrouble_(DiagnosticTopic::backlight, "display " + std::to_string(id) + " backlight"),
      gammaTrouble_(DiagnosticTopic::gamma, "display " + std::to_string(id) + " gamma table") {
    if (path_ == ControlPath::unavailable)
        diagnose(DiagnosticTopic::displays, DiagnosticLevel::info,
                 "display " + std::to_string(id) + ": no backlight, DDC/CI or gamma table");
}

ControlPath DisplaySession::initialPath() const {
    if (native_) return ControlPath::hardware;
    if (ddc_) return ControlPath::ddc;
    if (software_.original()) return ControlPath::software;
    return ControlPath::unavailable;
}

std::optional<double> DisplaySession::storedLevel() const {
    std::optional<PropertyValue> stored = platform_->preferences.object(storedLevelKey(uuid_));
    if (!stored || !stored->number() || !std::isfinite(*stored->number())) return std::nullopt;
    return *stored->number();
}

// The stored level first; else the backlight's reading, placed on the standard part of the
// scale; else what the monitor reported over DDC/CI; else a comfortable default.
double DisplaySession::startingLevel() const {
    if (std::optional<double> stored = storedLevel()) return *stored;
    if (native_) {
        if (std::optional<double> reading = native_->read()) {
            if (!supportsXDR_ || peakNits_ < 1) return *reading * 100;
            return std::min(*reading * sdrNits_ / peakNits_ * 100, 100.0);
        }
    }
    if (ddc_) return ddc_->lastValue() * 100;
    return kDefaultPercent;
}

std::optional<double> DisplaySession::splitPoint() const {
    if (!supportsXDR_ || sdrNits_ >= peakNits_) return std::nullopt;
    return static_cast<double>(sdrNits_) / peakNits_;
}

double DisplaySession::hardwareFraction(double level) const {
    double p = clampedPercent(level) / 100;
    std::optional<double> s = splitPoint();
    if (!s) return p;
    if (p > *s) return 1;
    if (*s == 0) return 0;
    return p / *s;
}

double DisplaySession::boostFraction(double level) const {
    double p = clampedPercent(level) / 100;
    std::optional<double> s = splitPoint();
    if (!s || p <= *s) return 0;
    return (p - *s) / (1 - *s);
}

void DisplaySession::apply(double level, bool persist, bool forceHardware) {
    if (std::isnan(level)) return;
    percent_ = clampedPercent(level);
    double hardware = hardwareFraction(percent_);
    bool moved = std::abs(hardware - lastHardware_) > kHardwareTolerance;
    writeHardware(hardware, moved, forceHardware);
    applyBoost(boostFraction(percent_));
    if (persist) platform_->preferences.setDouble(storedLevelKey(uuid_), percent_);
}

// The backlight first, then a healthy DDC monitor, then gamma dimming, by which controls
// exist rather than by `path`: a failed backlight write falls through to the gamma table.
void DisplaySession::writeHardware(double fraction, bool moved, bool forceHardware) {
    bool skip = !forceHardware && !moved;
    if (native_) {
        if (skip) return;
        if (native_->write(fraction)) {
            backlightTrouble_.succeeded();
            lastHardware_ = fraction;
            return;
        }
        backlightTrouble_.failed("cannot be written; dimming through the gamma table");
        writeSoftware(fraction);
        return;
    }
    if (ddc_ && !ddc_->degraded()) {
        if (skip) return;
        ddc_->write(fraction);
        lastHardware_ = fraction;
        if (ddc_->degraded()) leaveDegradedMonitor();
        return;
    }
    // The monitor gives up on its own thread, usually after the write that failed has
    // returned: the first apply that finds it degraded leaves the DDC path here.
    if (ddc_ && path_ == ControlPath::ddc) leaveDegradedMonitor();
    writeSoftware(fraction);
}

void DisplaySession::leaveDegradedMonitor() {
    path_ = software_.original() ? ControlPath::software : ControlPath::unavailable;
    diagnose(DiagnosticTopic::session, DiagnosticLevel::warning,
             "display " + std::to_string(id_) + ": the monitor stopped answering; " +
                 (software_.original() ? "dimming through the gamma table" : "no control left"));
}

bool DisplaySession::writeSoftware(double fraction) {
    if (!software_.original()) return false;
    if (!software_.write(fraction)) {
        gammaTrouble_.failed("cannot be written");
        return false;
    }
    gammaTrouble_.succeeded();
    path_ = ControlPath::software;
    lastHardware_ = fraction;
    return true;
}

void DisplaySession::rewriteSoftware() {
    if (path_ == ControlPath::software) writeSoftware(hardwareFraction(percent_));
}

void DisplaySession::applyBoost(double fraction) {
    if (!supportsXDR_) return;
    if (!xdr_) xdr_ = XDROverlay::make(*platform_, id_);
    xdr_->setBoost(fraction);
}

void DisplaySession::reassertIfDrifted() {
    double hardware = hardwareFraction(percent_);
    if (native_) {
        std::optional<double> reading = native_->read();
        if (reading && std::abs(*reading - hardware) > kDriftTolerance) {
            native_->write(hardware);
            lastHardware_ = hardware;
        }
    }
    applyBoost(boostFraction(percent_));
}

std::optional<double> DisplaySession::backlightReading() const {
    return native_ ? native_->read() : std::nullopt;
}

std::string DisplaySession::resolveName(const Platform& platform, DisplayID id, bool builtin) {
    if (std::optional<Screen> screen = screenOf(platform.screens, id)) return screen->localizedName;
    return platform.localizer.text(builtin ? "display.builtin" : "display.external");
}

std::string DisplaySession::storedLevelKey(const std::string& uuid) {
    return std::string(preference_keys::kBrightnessPrefix) + uuid;
}

}  // namespace corvane
