#pragma once

#include <QString>
#include <QVariantMap>

namespace corvane::ui {

// The application's information keys and their values.
QVariantMap applicationInformation();

// "short version (build)" from an information dictionary, e.g. "2.0 (17)". A key that is
// missing or not a string reads as "1.1.2" and "4" respectively.
QString aboutVersion(const QVariantMap& information);

}  // namespace corvane::ui
