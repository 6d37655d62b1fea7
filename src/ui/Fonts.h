#pragma once

#include <QFont>

// The system font at the sizes and weights the views ask for; the rounded design uses a
// rounded sans face when one is installed and the system font otherwise.
namespace corvane::ui::fonts {

QFont system(double pointSize, QFont::Weight weight = QFont::Normal);
QFont rounded(double pointSize, QFont::Weight weight = QFont::Normal);
// The rounded design with digits of equal width, so that changing numbers keep their width.
QFont roundedMonospacedDigits(double pointSize, QFont::Weight weight);

}  // namespace corvane::ui::fonts
