#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace corvane::app {

// Whether the program runs from a mounted volume or a translocated copy: its path begins
// with "/Volumes/" or contains "AppTranslocation" anywhere.
bool runsOutsideApplications(std::string_view path);

// Tells the user, in a modal message, to move the application before using it, when it runs
// from such a place. Returns whether the message was shown; the answer is not examined.
bool promptIfRunningOutsideApplications(const QString& executablePath);

}  // namespace corvane::app
