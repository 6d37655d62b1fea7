#include "model/AppModel.h"
#include "model/Rounding.h"

namespace corvane {

// The one gate every requested level passes: clamped to the scale and, on battery with the
// limit on, held at the top of a boost display's standard range.
double AppModel::capped(double percent, const DisplaySession& session) const {
    double clamped = clampedPercent(percent);
    if (limitOnBattery_ && session.supportsXDR() && onBattery(platform_.power)) {
        double cap = sdrPercent(session.sdrNits(), session.peakNits());
        return std::min(cap, clamped);
    }
    return clamped;
}

void AppModel::apply(double percent, DisplayID target) {
    if (syncDisplays_) {
        for (const auto& [id, session] : sessions_) {
            intendedPercents_[id] = percent;
            session->apply(capped(percent, *session), true, false);
        }
        return;
    }
    intendedPercents_[target] = percent;
    auto it = sessions_.find(target);
    if (it != sessions_.end()) it->second->apply(capped(percent, *it->second), true, false);
}

// Re-applies every display's requested level (its own level where none was asked for),
// forcing the hardware write.
void AppModel::reapplyIntended() {
    for (const auto& [id, session] : sessions_) {
        auto intended = intendedPercents_.find(id);
        double level = intended == intendedPercents_.end() ? session->percent() : intended->second;
        session->apply(capped(level, *session), false, true);
    }
}

void AppModel::applyStored() {
    reapplyIntended();
    publish();
}

void AppModel::applyPreset(BrightnessPreset preset) {
    bool restoring = preset == BrightnessPreset::restore;
    if (!restoring) {
        previousPercents_.clear();
        for (const auto& [id, session] : sessions_) previousPercents_[id] = session->percent();
    }
    for (const auto& [id, session] : sessions_) {
        double target = percentFor(preset, session->presetTarget());
        if (restoring) {
            auto previous = previousPercents_.find(id);
            target = previous == previousPercents_.end() ? session->percent() : previous->second;
        }
        intendedPercents_[id] = target;
        session->apply(capped(target, *session), true, false);
    }
    if (restoring) previousPercents_.clear();
    publish();

    std::shared_ptr<DisplaySession> shown;
    for (const auto& [id, session] : sessions_)
        if (!shown && session->isBuiltin()) shown = session;
    if (!shown && !sessions_.empty()) shown = sessions_.begin()->second;
    if (shown) showHUD(shown->id());
}

void AppModel::showHUD(DisplayID id) {
    auto it = sessions_.find(id);
    if (it == sessions_.end()) return;
    const DisplaySession& session = *it->second;
    std::optional<int> nits;
    if (session.supportsXDR()) nits = estimatedNits(session.percent(), session.peakNits());
    hud_.show(session.percent(), nits, id);
}

void AppModel::stepBrightness(BrightnessKey key, bool fine) {
    std::shared_ptr<DisplaySession> focus = focusSession();
    if (!focus) return;
    double step = fine ? kFineKeyStep : kKeyStep;
    apply(focus->percent() + (key == BrightnessKey::down ? -step : step), focus->id());
    publish();
    showHUD(focus->id());
    beginHold();
}

// Keeps re-asserting every level until 0.9 s after the last key step: a repeated step only
// moves the deadline.
void AppModel::beginHold() {
    holdUntil_ = platform_.loop.now() +
                 std::chrono::round<std::chrono::nanoseconds>(kHoldDuration);
    if (!holdTimer_)
        holdTimer_ = platform_.loop.scheduleRepeating(kHoldInterval, onTimer(&AppModel::holdTick));
}

void AppModel::holdTick() {
    if (platform_.loop.now() > holdUntil_) {
        holdTimer_.reset();
        return;
    }
    for (const auto& [id, session] : sessions_) session->reassertIfDrifted();
}

}  // namespace corvane
