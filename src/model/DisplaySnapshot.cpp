#include "model/DisplaySnapshot.h"

#include "model/Rounding.h"

namespace corvane {

double sdrPercent(int sdrNits, int peakNits) {
    return peakNits >= 1 ? static_cast<double>(sdrNits) / peakNits * 100 : 100;
}

int estimatedNits(double percent, int peakNits) {
    return roundedHalfAwayFromZero(percent / 100 * peakNits);
}

DisplaySnapshot makeSnapshot(DisplayFacts facts) {
    DisplaySnapshot snapshot;
    snapshot.id = facts.id;
    snapshot.uuid = std::move(facts.uuid);
    snapshot.name = std::move(facts.name);
    snapshot.isBuiltin = facts.isBuiltin;
    snapshot.isMain = facts.isMain;
    snapshot.supportsXDR = facts.supportsXDR;
    snapshot.path = facts.path;
    snapshot.percent = facts.percent;
    if (facts.supportsXDR) snapshot.estimatedNits = estimatedNits(facts.percent, facts.peakNits);
    snapshot.sdrNits = facts.sdrNits;
    snapshot.peakNits = facts.peakNits;
    snapshot.sdrPercent = sdrPercent(facts.sdrNits, facts.peakNits);
    return snapshot;
}

}  // namespace corvane
