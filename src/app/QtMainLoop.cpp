#include "app/QtMainLoop.h"

#include <QObject>
#include <QThread>
#include <QTimerEvent>
#include <map>
#include <unordered_map>

namespace corvane::app {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// Below this a timer is fired to the millisecond; above it Qt may group wake-ups.
constexpr nanoseconds kPreciseBelow = milliseconds(100);

nanoseconds toNanos(Seconds seconds) {
    return std::chrono::round<nanoseconds>(seconds < Seconds(0) ? Seconds(0) : seconds);
}

}  // namespace

// Owns the timers. Each timer is a Qt timer armed for the remaining time to its next due
// moment and re-armed after every firing.
class QtMainLoop::Dispatcher final : public QObject {
  public:
    explicit Dispatcher(std::uint64_t& wakeups) : wakeups_(wakeups) {}

    std::uint64_t add(nanoseconds delay, nanoseconds interval, std::function<void()> callback) {
        std::uint64_t key = nextKey_++;
        Entry& entry = entries_[key];
        entry = Entry{std::move(callback), interval, MonotonicClock::now() + delay, 0};
        arm(key, entry);
        return key;
    }

    void cancel(std::uint64_t key) {
        auto it = entries_.find(key);
        if (it == entries_.end()) return;
        disarm(it->second);
        entries_.erase(it);
    }

    void cancelAll() {
        for (auto& [key, entry] : entries_) disarm(entry);
        entries_.clear();
    }

    std::size_t count() const { return entries_.size(); }

  protected:
    void timerEvent(QTimerEvent* event) override {
        auto found = armed_.find(event->timerId());
        if (found == armed_.end()) return;
        std::uint64_t key = found->second;
        Entry& entry = entries_.at(key);
        disarm(entry);
        // The callback may cancel its own timer or schedule others: take it out first.
        std::function<void()> callback = entry.callback;
        if (entry.interval.count() > 0) {
            entry.due += entry.interval;
            TimePoint now = MonotonicClock::now();
            if (entry.due < now) entry.due = now;  // missed firings are not made up
            arm(key, entry);
        } else {
            entries_.erase(key);
        }
        ++wakeups_;
        callback();
    }

  private:
    struct Entry {
        std::function<void()> callback;
        nanoseconds interval;
        TimePoint due;
        int timerId;
    };

    void arm(std::uint64_t key, Entry& entry) {
        nanoseconds wait = entry.due - MonotonicClock::now();
        auto waitMs = std::chrono::ceil<milliseconds>(std::max(wait, nanoseconds(0)));
        nanoseconds period = entry.interval.count() > 0 ? entry.interval : wait;
        Qt::TimerType type = period < kPreciseBelow ? Qt::PreciseTimer : Qt::CoarseTimer;
        entry.timerId = startTimer(waitMs, type);
        armed_[entry.timerId] = key;
    }

    void disarm(Entry& entry) {
        if (entry.timerId == 0) return;
        killTimer(entry.timerId);
        armed_.erase(entry.timerId);
        entry.timerId = 0;
    }

    std::uint64_t& wakeups_;
    std::uint64_t nextKey_ = 1;
    std::map<std::uint64_t, Entry> entries_;
    std::unordered_map<int, std::uint64_t> armed_;
};

// Cancels its timer when cancelled or dropped; does nothing once the loop is gone.
class QtMainLoop::Handle final : public ScheduledWork {
  public:
    Handle(std::weak_ptr<Dispatcher> dispatcher, std::uint64_t key)
        : dispatcher_(std::move(dispatcher)), key_(key) {}
    ~Handle() override { cancel(); }
    void cancel() override {
        if (auto dispatcher = dispatcher_.lock()) dispatcher->cancel(key_);
    }

  private:
    std::weak_ptr<Dispatcher> dispatcher_;
    std::uint64_t key_;
};

QtMainLoop::QtMainLoop()
    : dispatcher_(std::make_shared<Dispatcher>(wakeups_)),
      stopped_(std::make_shared<std::atomic<bool>>(false)) {}

QtMainLoop::~QtMainLoop() = default;

void QtMainLoop::post(std::function<void()> task) {
    if (*stopped_) return;
    QMetaObject::invokeMethod(
        dispatcher_.get(),
        [this, stopped = stopped_, task = std::move(task)] {
            if (*stopped) return;
            ++wakeups_;
            task();
        },
        Qt::QueuedConnection);
}

std::unique_ptr<ScheduledWork> QtMainLoop::scheduleRepeating(Seconds interval,
                                                             std::function<void()> tick) {
    nanoseconds period = std::max(toNanos(interval), nanoseconds(milliseconds(1)));
    return schedule(period, period, std::move(tick));
}

std::unique_ptr<ScheduledWork> QtMainLoop::scheduleOnce(Seconds delay, std::function<void()> work) {
    return schedule(toNanos(delay), nanoseconds(0), std::move(work));
}

std::unique_ptr<ScheduledWork> QtMainLoop::schedule(nanoseconds delay, nanoseconds interval,
                                                    std::function<void()> callback) {
    std::uint64_t key = *stopped_ ? 0 : dispatcher_->add(delay, interval, std::move(callback));
    return std::make_unique<Handle>(dispatcher_, key);
}

TimePoint QtMainLoop::now() const {
    return MonotonicClock::now();
}

bool QtMainLoop::isMainThread() const {
    return QThread::currentThread() == dispatcher_->thread();
}

void QtMainLoop::stop() {
    *stopped_ = true;
    dispatcher_->cancelAll();
}

std::size_t QtMainLoop::scheduledCount() const {
    return dispatcher_->count();
}

}  // namespace corvane::app
