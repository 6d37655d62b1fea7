#pragma once

#include <array>
#include <string_view>

// Every key the application looks up in its localisation table. Keys that take a number carry
// "%lld", keys that take a string "%@".
namespace corvane::ui::keys {

// Display names without a screen name of their own.
inline constexpr std::string_view kDisplayBuiltin = "display.builtin";
inline constexpr std::string_view kDisplayExternal = "display.external";

// The product title, on the indicator and as the tray item's tooltip.
inline constexpr std::string_view kProductTitle = "Corvane Display";
// A whole percent ("38%") and a bare number ("1600").
inline constexpr std::string_view kPercent = "%lld%";
inline constexpr std::string_view kNumber = "%lld";
inline constexpr std::string_view kHudNits = "hud.nits %lld";

// The prompt to install the application before running it from a temporary place.
inline constexpr std::string_view kInstallMoveTitle = "install.move_title";
inline constexpr std::string_view kInstallMoveBody = "install.move_body";
inline constexpr std::string_view kInstallMoveOk = "install.move_ok";

// The popover.
inline constexpr std::string_view kPopoverSubtitle = "popover.subtitle";
inline constexpr std::string_view kPopoverLive = "popover.live %lld";
inline constexpr std::string_view kPresetCycle = "preset.cycle";
inline constexpr std::string_view kPresetSdr = "preset.sdr";
inline constexpr std::string_view kPreset1000 = "preset.1000";
inline constexpr std::string_view kPreset1600 = "preset.1600";
inline constexpr std::string_view kPresetRestore = "preset.restore";
inline constexpr std::string_view kSettingsSync = "settings.sync";
inline constexpr std::string_view kSettingsMenuPercent = "settings.menu_percent";
inline constexpr std::string_view kSettingsMenuNits = "settings.menu_nits";
inline constexpr std::string_view kSettingsBattery = "settings.battery";
inline constexpr std::string_view kSettingsLaunchAtLogin = "settings.launch_at_login";
inline constexpr std::string_view kSettingsQuit = "settings.quit";
inline constexpr std::string_view kAboutTitle = "about.title";
inline constexpr std::string_view kWarningBattery = "warning.battery";
inline constexpr std::string_view kWarningPeak = "warning.peak";
inline constexpr std::string_view kEmptyNoDisplays = "empty.no_displays";

// The display card.
inline constexpr std::string_view kStatusXdr = "status.xdr %lld";
inline constexpr std::string_view kMethodHardware = "method.hardware";
inline constexpr std::string_view kMethodDdc = "method.ddc";
inline constexpr std::string_view kMethodSoftware = "method.software";
inline constexpr std::string_view kMethodUnavailable = "method.unavailable";
inline constexpr std::string_view kSdrTick = "SDR";
// What the minus and plus buttons are called to assistive tools.
inline constexpr std::string_view kCardDecrease = "card.decrease";
inline constexpr std::string_view kCardIncrease = "card.increase";

// The About panel.
inline constexpr std::string_view kAboutVersion = "about.version %@";
inline constexpr std::string_view kAboutBody = "about.body";
inline constexpr std::string_view kAboutRequires = "about.requires";
inline constexpr std::string_view kAboutDeveloped = "about.developed";
inline constexpr std::string_view kAboutContact = "about.contact";
inline constexpr std::string_view kAboutClose = "about.close";

inline constexpr std::array kAll = {
    kDisplayBuiltin,    kDisplayExternal, kProductTitle,
    kPercent,           kNumber,          kHudNits,
    kInstallMoveTitle,  kInstallMoveBody, kInstallMoveOk,
    kPopoverSubtitle,   kPopoverLive,     kPresetCycle,
    kPresetSdr,         kPreset1000,      kPreset1600,
    kPresetRestore,     kSettingsSync,    kSettingsMenuPercent,
    kSettingsMenuNits,  kSettingsBattery, kSettingsLaunchAtLogin,
    kSettingsQuit,      kAboutTitle,      kWarningBattery,
    kWarningPeak,       kEmptyNoDisplays, kStatusXdr,
    kMethodHardware,    kMethodDdc,       kMethodSoftware,
    kMethodUnavailable, kSdrTick,         kAboutVersion,
    kAboutBody,         kAboutRequires,   kAboutDeveloped,
    kAboutContact,      kAboutClose,      kCardDecrease,
    kCardIncrease,
};

}  // namespace corvane::ui::keys
