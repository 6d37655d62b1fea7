#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/MainLoop.h"

namespace corvane::app {

// The main loop on Qt's event loop: posted tasks are queued calls to an object living on the
// thread that made the loop, and timers are Qt timers on that object. Repeating timers keep
// their own schedule, so a 1/60-second timer fires 60 times a second on average even though
// Qt counts whole milliseconds. Make it on the main thread, after the application object.
class QtMainLoop final : public MainLoop {
  public:
    QtMainLoop();
    ~QtMainLoop() override;
    QtMainLoop(const QtMainLoop&) = delete;
    QtMainLoop& operator=(const QtMainLoop&) = delete;

    void post(std::function<void()> task) override;
    std::unique_ptr<ScheduledWork> scheduleRepeating(Seconds interval,
                                                     std::function<void()> tick) override;
    std::unique_ptr<ScheduledWork> scheduleOnce(Seconds delay, std::function<void()> work) override;
    TimePoint now() const override;
    bool isMainThread() const override;

    // Stops every timer and drops every task posted from now on. For the end of the
    // application, when the model (which lives until the process ends) must no longer run.
    void stop();
    // How many times the loop woke something up: posted tasks run and timers fired.
    std::uint64_t wakeups() const { return wakeups_; }
    // Timers and work items scheduled now.
    std::size_t scheduledCount() const;

  private:
    class Dispatcher;
    class Handle;

    std::unique_ptr<ScheduledWork> schedule(std::chrono::nanoseconds delay,
                                            std::chrono::nanoseconds interval,
                                            std::function<void()> callback);

    std::shared_ptr<Dispatcher> dispatcher_;
    std::shared_ptr<std::atomic<bool>> stopped_;
    std::uint64_t wakeups_ = 0;
};

}  // namespace corvane::app
