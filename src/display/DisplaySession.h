#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ddc/DDCController.h"
#include "display/NativeBacklight.h"
#include "display/SoftwareDimming.h"
#include "display/XDROverlay.h"
#include "model/BrightnessPreset.h"
#include "model/ControlPath.h"
#include "platform/Diagnostics.h"
#include "platform/Platform.h"

namespace corvane {

// The controller of one online display. It picks the control that drives the display, works
// out its starting level, splits a level on the percent scale into a hardware fraction and a
// boost fraction, writes both, stores the level per display, and corrects a backlight that
// something else has moved. Main thread only; only DDC writes complete later, on the DDC
// controller's own thread. A control that stops working is reported through the diagnostics
// when it starts failing and when it works again.
class DisplaySession {
public:
    // Standard-range white and peak of displays that can boost, and of every other display.
    static constexpr int kBoostSDRNits = 600;
    static constexpr int kBoostPeakNits = 1600;
    static constexpr int kPlainNits = 400;
    // The starting level of a display with nothing to read it from.
    static constexpr double kDefaultPercent = 80;
    // Moves of the hardware fraction up to this are not written again.
    static constexpr double kHardwareTolerance = 0.004;
    // A backlight read further than this from the wanted fraction is rewritten.
    static constexpr double kDriftTolerance = 0.015;

    DisplaySession(const Platform& platform, DisplayID id, AVServiceHandle ddcService);

    // Sets the level (clamped to 0...100), writes the hardware when it moved or when forced,
    // hands the boost to the overlay, and stores the level when `persist`. A level that is not
    // a number is ignored.
    void apply(double level, bool persist, bool forceHardware);
    // Rewrites the backlight when it no longer shows the level, and keeps the boost in step.
    void reassertIfDrifted();
    // Writes the gamma table for the current level again when the display is dimmed by gamma
    // (making a session for another display puts every display's profile back).
    void rewriteSoftware();

    double hardwareFraction(double level) const;
    double boostFraction(double level) const;

    // The display's screen name, else the localised name of a built-in or external display.
    static std::string resolveName(const Platform& platform, DisplayID id, bool builtin);
    // The preference key of a display's stored level.
    static std::string storedLevelKey(const std::string& uuid);

    DisplayID id() const { return id_; }
    const std::string& uuid() const { return uuid_; }
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    bool isBuiltin() const { return isBuiltin_; }
    bool isMain() const { return isMain_; }
    bool supportsXDR() const { return supportsXDR_; }
    int sdrNits() const { return sdrNits_; }
    int peakNits() const { return peakNits_; }
    ControlPath path() const { return path_; }
    double percent() const { return percent_; }
    const std::shared_ptr<XDROverlay>& xdr() const { return xdr_; }
    const std::shared_ptr<DDCController>& ddc() const { return ddc_; }
    // The backlight's level now, 0...1; none without a backlight or when it cannot be read.
    std::optional<double> backlightReading() const;
    PresetTarget presetTarget() const { return {supportsXDR_, sdrNits_, peakNits_, percent_}; }

private:
    ControlPath initialPath() const;
    double startingLevel() const;
    std::optional<double> storedLevel() const;
    // The split point s = sdrNits / peakNits, when the display boosts at all.
    std::optional<double> splitPoint() const;
    void writeHardware(double fraction, bool moved, bool forceHardware);
    bool writeSoftware(double fraction);
    void leaveDegradedMonitor();
    void applyBoost(double fraction);

    const Platform* platform_;
    DisplayID id_;
    std::string uuid_;
    bool isBuiltin_;
    bool isMain_;
    bool supportsXDR_;
    int sdrNits_;
    int peakNits_;
    std::string name_;
    std::optional<NativeBacklight> native_;
    std::shared_ptr<DDCController> ddc_;
    SoftwareDimming software_;
    std::shared_ptr<XDROverlay> xdr_;
    ControlPath path_;
    double percent_;
    double lastHardware_ = -1;
    FailureEpisode backlightTrouble_;
    FailureEpisode gammaTrouble_;
};

}  // namespace corvane
