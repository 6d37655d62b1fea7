#include "ddc/DDCController.h"

#include <cmath>
#include <string>
#include <utility>

#include "ddc/DDCProtocol.h"

namespace corvane {
namespace {

// fraction (0...1) × maximum, rounded to nearest with halves away from zero.
std::uint16_t rawValue(double fraction, std::uint16_t maximum) {
    double raw = std::round(fraction * static_cast<double>(maximum));
    if (!(raw > 0)) return 0;
    if (raw >= 65535.0) return 65535;
    return static_cast<std::uint16_t>(raw);
}

}  // namespace

std::shared_ptr<DDCController> DDCController::make(const Platform& platform, DisplayID id,
                                                   AVServiceHandle service) {
    return std::make_shared<DDCController>(platform, id, std::move(service));
}

DDCController::DDCController(const Platform& platform, DisplayID id, AVServiceHandle service)
    : platform_(platform),
      displayID_(id),
      service_(std::move(service)),
      writeTrouble_(DiagnosticTopic::ddc, "display " + std::to_string(id) + " over DDC/CI") {
    if (!service_) return;  // nothing to talk to: keep the defaults
    if (std::optional<VCPReading> reading =
            DDCProtocol::read(platform_, *service_, DDCProtocol::kBrightness)) {
        maxValue_ = reading->max == 0 ? std::uint16_t{1} : reading->max;
        lastValue_.store(static_cast<double>(reading->current) / static_cast<double>(maxValue_));
    } else {
        diagnose(DiagnosticTopic::ddc, DiagnosticLevel::info,
                 "display " + std::to_string(id) +
                     " over DDC/CI: no brightness reading; taking it as full");
    }
}

DDCController::~DDCController() = default;

double DDCController::lastValue() const { return lastValue_.load(); }

void DDCController::write(double fraction) {
    if (std::isnan(fraction)) return;  // not a value: nothing to write
    if (!(fraction > 0)) fraction = 0;
    if (fraction > 1) fraction = 1;
    std::weak_ptr<DDCController> weak = weak_from_this();
    queue_.async([weak = std::move(weak), fraction] {
        if (std::shared_ptr<DDCController> self = weak.lock()) self->enqueue(fraction);
    });
}

void DDCController::waitUntilIdle() { queue_.waitUntilIdle(); }

void DDCController::enqueue(double fraction) {
    if (degraded_.load()) return;
    pending_ = fraction;
    if (writing_) return;
    writing_ = true;
    runWriteLoop();
    writing_ = false;
}

void DDCController::runWriteLoop() {
    while (!degraded_.load() && pending_) {
        const double fraction = *pending_;
        pending_.reset();
        const bool written = service_ && DDCProtocol::write(platform_, *service_, DDCProtocol::kBrightness,
                                                            rawValue(fraction, maxValue_));
        if (written) {
            failures_ = 0;
            lastValue_.store(fraction);
            writeTrouble_.succeeded();
            continue;
        }
        writeTrouble_.failed("the monitor does not take brightness writes");
        if (++failures_ >= kFailureLimit) {
            degraded_.store(true);
            diagnose(DiagnosticTopic::ddc, DiagnosticLevel::warning,
                     "display " + std::to_string(displayID_) + " over DDC/CI: given up after " +
                         std::to_string(kFailureLimit) + " failed writes in a row");
            return;
        }
    }
}

}  // namespace corvane
