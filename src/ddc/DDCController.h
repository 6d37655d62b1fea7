#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "ddc/SerialQueue.h"
#include "platform/Diagnostics.h"
#include "platform/Platform.h"

namespace corvane {

// Drives one external monitor's brightness over DDC/CI. Writes run on the controller's own
// serial worker thread, in the order given; after four failed writes in a row the monitor is
// given up (`degraded`) for the controller's whole life. Failed writes are reported when they
// start and when writes get through again; giving up is reported once.
class DDCController : public std::enable_shared_from_this<DDCController> {
public:
    // Reads the monitor's brightness on the calling thread, then returns a controller, also
    // when the monitor does not answer.
    static std::shared_ptr<DDCController> make(const Platform& platform, DisplayID id,
                                               AVServiceHandle service);
    ~DDCController();

    // Queues the fraction (limited to 0...1) and returns at once.
    void write(double fraction);
    bool degraded() const { return degraded_.load(); }
    DisplayID displayID() const { return displayID_; }
    // The fraction known to be on the monitor. Read on the main thread only right after
    // construction; afterwards the worker updates it.
    double lastValue() const;
    std::uint16_t maxValue() const { return maxValue_; }
    // Blocks until every write queued before the call has run.
    void waitUntilIdle();

    // Prefer make(): jobs reach the controller through weak_from_this(), so a controller not
    // owned by a shared_ptr ignores every write.
    DDCController(const Platform& platform, DisplayID id, AVServiceHandle service);

private:
    // Queue-only: the job body and the write loop.
    void enqueue(double fraction);
    void runWriteLoop();

    static constexpr int kFailureLimit = 4;

    const Platform platform_;  // a copy: the references it holds outlive the controller
    DisplayID displayID_;
    AVServiceHandle service_;
    std::uint16_t maxValue_ = 100;
    std::atomic<double> lastValue_{1.0};
    std::optional<double> pending_;
    bool writing_ = false;
    int failures_ = 0;
    std::atomic<bool> degraded_{false};
    FailureEpisode writeTrouble_;
    // Declared last so that it is destroyed first: its worker is stopped (joined, or detached
    // when the controller dies on the worker itself) before the fields above go away.
    SerialQueue queue_;
};

}  // namespace corvane
