#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace corvane::app {

// How the desktop puts applications in place. Where the user copies an application bundle
// into the applications folder, one started from a disk image or a translocated copy should
// be moved first. A package manager installs the application where it belongs, so no path
// calls for the prompt there.
enum class InstallStyle { copiedBundle, packaged };

// This desktop's style: Linux desktops install through their package manager.
inline constexpr InstallStyle kDesktopInstallStyle = InstallStyle::packaged;

// Whether the program runs from a mounted volume or a translocated copy: its path begins
// with "/Volumes/" or contains "AppTranslocation" anywhere.
bool runsOutsideApplications(std::string_view path);

// Tells the user, in a modal message, to move the application before using it, when the
// desktop installs by copying bundles and the program runs from such a place. Returns whether
// the message was shown; the answer is not examined.
bool promptIfRunningOutsideApplications(const QString& executablePath,
                                        InstallStyle style = kDesktopInstallStyle);

}  // namespace corvane::app
