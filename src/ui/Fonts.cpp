#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace corvane::ui::fonts {
namespace {

// Rounded sans faces, in order of preference.
const QStringList kRoundedFamilies = {
    "SF Pro Rounded",   "Nunito",    "Varela Round", "M PLUS Rounded 1c",
    "Rounded Mplus 1c", "Quicksand", "Comfortaa",    "Arial Rounded MT Bold",
};

std::optional<QString> installedRoundedFamily() {
    static const std::optional<QString> family = []() -> std::optional<QString> {
        const QStringList installed = QFontDatabase::families();
        for (const QString& candidate : kRoundedFamilies) {
            if (installed.contains(candidate, Qt::CaseInsensitive)) return candidate;
        }
        return std::nullopt;
    }();
    return family;
}

// The views' sizes are device-independent pixels, like every length of their layouts, so a
// size-11 font has an 11-pixel em on every screen and the text keeps its place in the design.
QFont sized(QFont font, double pointSize, QFont::Weight weight) {
    font.setPixelSize(std::max(1, qRound(pointSize)));
    font.setWeight(weight);
    return font;
}

bool hasEqualWidthDigits(const QFont& font) {
    const QFontMetricsF metrics(font);
    const double zero = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (metrics.horizontalAdvance(QLatin1Char(digit)) != zero) return false;
    }
    return true;
}

}  // namespace

QFont system(double pointSize, QFont::Weight weight) {
    return sized(QFontDatabase::systemFont(QFontDatabase::GeneralFont), pointSize, weight);
}

QFont rounded(double pointSize, QFont::Weight weight) {
    const auto family = installedRoundedFamily();
    if (!family) return system(pointSize, weight);
    return sized(QFont(*family), pointSize, weight);
}

// Qt 6.4 cannot switch on a face's tabular figures, so a rounded face whose digits differ in
// width gives way to the system font; common system sans faces draw tabular figures already.
QFont roundedMonospacedDigits(double pointSize, QFont::Weight weight) {
    const QFont font = rounded(pointSize, weight);
    return hasEqualWidthDigits(font) ? font : system(pointSize, weight);
}

}  // namespace corvane::ui::fonts
