#include "input/BrightnessKeyMonitor.h"

namespace corvane {
namespace {

// Presses closer together than this are one press seen twice (by the tap and a monitor) or
// a key bounce.
constexpr std::uint64_t kDebounceNanos = 8'000'000;

bool isTapDisabledNotice(std::uint32_t type) {
    return type == kTapDisabledByTimeout || type == kTapDisabledByUserInput;
}

}  // namespace

std::shared_ptr<BrightnessKeyMonitor> BrightnessKeyMonitor::create(SystemEventStream& events,
                                                                   MainLoop& loop) {
    return std::shared_ptr<BrightnessKeyMonitor>(new BrightnessKeyMonitor(events, loop));
}

BrightnessKeyMonitor::BrightnessKeyMonitor(SystemEventStream& events, MainLoop& loop)
    : events_(events), loop_(loop) {}

// The platform's callbacks must not outlive the monitor they call into.
BrightnessKeyMonitor::~BrightnessKeyMonitor() {
    stop();
}

void BrightnessKeyMonitor::start() {
    stop();
    installTap();
    std::weak_ptr<BrightnessKeyMonitor> weak = weak_from_this();
    local_ = events_.addLocalMonitor([weak](const SystemEvent& event) {
        if (auto self = weak.lock()) self->dispatchIfNeeded(event);
        return BrightnessKeys::isBrightnessEvent(event) ? EventDisposition::swallow
                                                        : EventDisposition::pass;
    });
    global_ = events_.addGlobalMonitor([weak](const SystemEvent& event) {
        if (auto self = weak.lock()) self->dispatchIfNeeded(event);
    });
}

void BrightnessKeyMonitor::stop() {
    if (local_) events_.removeMonitor(*local_);
    if (global_) events_.removeMonitor(*global_);
    local_.reset();
    global_.reset();
    if (tap_) tap_->setEnabled(false);
    tap_.reset();
}

// A refused tap is not an error: the monitors still catch the keys while this application or
// another one is active, though the system then acts on them as well.
void BrightnessKeyMonitor::installTap() {
    std::weak_ptr<BrightnessKeyMonitor> weak = weak_from_this();
    tap_ = events_.installTap([weak](std::uint32_t type, const SystemEvent& event) {
        auto self = weak.lock();
        return self ? self->tapped(type, event) : EventDisposition::pass;
    });
}

EventDisposition BrightnessKeyMonitor::tapped(std::uint32_t type, const SystemEvent& event) {
    if (isTapDisabledNotice(type)) {
        if (tap_) tap_->setEnabled(true);
        return EventDisposition::pass;
    }
    if (!BrightnessKeys::isBrightnessEvent(event)) return EventDisposition::pass;
    // Releases are swallowed too, so the system never sees half a key stroke.
    dispatchIfNeeded(event);
    return EventDisposition::swallow;
}

void BrightnessKeyMonitor::dispatchIfNeeded(const SystemEvent& event) {
    std::optional<BrightnessKey> key = BrightnessKeys::from(event);
    if (!key) return;
    auto now = static_cast<std::uint64_t>(loop_.now().time_since_epoch().count());
    if (isBounce(now)) return;
    lastDispatchNanos_ = now;
    bool fine = (event.modifierFlags & kOptionModifier) != 0;
    // A copy, so that a handler may replace itself while it runs.
    KeyHandler handler = onKey;
    if (!handler) return;
    if (loop_.isMainThread())
        handler(*key, fine);
    else
        loop_.post([handler, key = *key, fine] { handler(key, fine); });
}

bool BrightnessKeyMonitor::isBounce(std::uint64_t nowNanos) const {
    return lastDispatchNanos_ && nowNanos - *lastDispatchNanos_ < kDebounceNanos;
}

}  // namespace corvane
