#include "model/DisplaySnapshot.h"

#include "model/Rounding.h"

namespace corvane {

double sdrPercent(int sdrNits, int peakNits) {
    return peakNits >= 1 ? static_cast<double>(sdrNits) / peakNits * 100 : 100;
}

int estimatedNits(double percent, int peakNits) {
    return roundedHalfAwayFromZero(percent / 100 * peakNits);
}

DisplaySnapshot makeSnapshot(DisplaySnapshot snapshot) {
    snapshot.estimatedNits.reset();
    if (snapshot.supportsXDR)
        snapshot.estimatedNits = estimatedNits(snapshot.percent, snapshot.peakNits);
    snapshot.sdrPercent = sdrPercent(snapshot.sdrNits, snapshot.peakNits);
    return snapshot;
}

}  // namespace corvane
