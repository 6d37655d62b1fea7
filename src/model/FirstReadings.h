#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ddc/DDCController.h"
#include "platform/Platform.h"

namespace corvane {

// The first DDC/CI readings of monitors that have no session yet. Each runs on its monitor's
// own controller thread, so several monitors are read at once and the main thread never
// waits. A monitor that does not answer is asked again, kRetries times kRetryDelay apart (just
// after a hot-plug or a wake its bus is often not ready yet), before its controller is handed
// over with the defaults. Main thread only.
class FirstReadings {
public:
    // Receives a monitor's controller once its reading has arrived or been given up.
    using Ready = std::function<void(DisplayID, std::shared_ptr<DDCController>)>;

    static constexpr int kRetries = 3;
    static constexpr Seconds kRetryDelay{1.0};

    FirstReadings(const Platform& platform, Ready ready);
    FirstReadings(const FirstReadings&) = delete;
    FirstReadings& operator=(const FirstReadings&) = delete;

    // Makes the monitor's controller and starts its reading.
    void start(DisplayID id, AVServiceHandle service);
    // Forgets the readings of displays no longer online; their results are dropped.
    void keepOnly(const std::vector<DisplayID>& online);
    bool inFlight(DisplayID id) const { return readings_.contains(id); }

private:
    struct Reading {
        std::shared_ptr<DDCController> controller;
        int retriesLeft = kRetries;
        std::unique_ptr<ScheduledWork> retry;
        std::uint64_t ticket = 0;  // names the reading now under way
    };

    void read(DisplayID id);
    void arrived(DisplayID id, std::uint64_t ticket, bool answered);

    const Platform& platform_;
    Ready ready_;
    std::map<DisplayID, Reading> readings_;
    std::uint64_t nextTicket_ = 1;
    // Callbacks hold it weakly: a reading that arrives after this object is gone is dropped.
    std::shared_ptr<FirstReadings*> self_;
};

}  // namespace corvane
