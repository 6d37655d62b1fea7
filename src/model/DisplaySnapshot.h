#pragma once

#include <optional>
#include <string>

#include "model/ControlPath.h"
#include "platform/DisplayCatalog.h"

namespace corvane {

// What the model publishes about one online display. Built through makeSnapshot, which derives
// `estimatedNits` and `sdrPercent` from the other fields.
struct DisplaySnapshot {
    DisplayID id = 0;
    std::string uuid;
    std::string name;
    bool isBuiltin = false;
    bool isMain = false;
    bool supportsXDR = false;
    ControlPath path = ControlPath::unavailable;
    double percent = 0;
    // Present exactly when supportsXDR: the level's luminance, percent / 100 × peakNits.
    std::optional<int> estimatedNits;
    int sdrNits = 0;
    int peakNits = 0;
    // Where the standard range ends on the percent scale.
    double sdrPercent = 100;

    friend bool operator==(const DisplaySnapshot&, const DisplaySnapshot&) = default;
};

// The record with `estimatedNits` and `sdrPercent` derived from the other fields, whatever
// they held before.
DisplaySnapshot makeSnapshot(DisplaySnapshot snapshot);

// sdrNits / peakNits × 100 when peakNits is at least 1, otherwise 100.
double sdrPercent(int sdrNits, int peakNits);
// percent / 100 × peakNits, rounded half away from zero.
int estimatedNits(double percent, int peakNits);

}  // namespace corvane
