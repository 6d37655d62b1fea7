#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/PrivateDisplayFunctions.h"
#include "platform/linux/I2cSystemCalls.h"

namespace corvane::linux_desktop {

// How an i2c-dev bus is shared and waited for.
struct I2cBusTiming {
    // Monitors need this long after a write before the next transfer; the protocol's own sleep
    // between the two sends of a Set VCP Feature request is only 10 ms.
    std::chrono::milliseconds writeGap{50};
    // How long a transfer waits for another program's exchange on the bus to end.
    std::chrono::milliseconds lockWait{1000};
    std::chrono::milliseconds lockPoll{10};
    // After a hot-plug or a wake the device node may not be there or not yet be granted to
    // the seat's user; a bus that is not ready is waited for this long, polled at this rate.
    std::chrono::milliseconds settleWindow{3000};
    std::chrono::milliseconds settlePoll{200};
};

// An external monitor's DDC/CI channel on /dev/i2c-N: the AV service the core holds. A bus
// that could not be opened when the service was made is opened at the first transfer; it is
// closed when the last handle goes.
// Each transfer holds an advisory lock on the device for its whole request/reply exchange, so
// other DDC/CI programs cannot interleave, and waits out the bus's write gap. While the bus
// settles (fresh, or after `settling` was raised by a wake), transfers that fail because the
// bus is not ready are retried before they count. Transfers may come from any thread.
class I2cBusService final : public AVService {
  public:
    enum class Exchange { ends, awaitsReply };

    // `fd` is the bus already open, or -1 to open it at the first transfer.
    I2cBusService(std::shared_ptr<I2cSystemCalls> calls, std::string device, unsigned bus,
                  int fd, std::shared_ptr<const std::atomic<unsigned>> wakes,
                  I2cBusTiming timing = {});
    ~I2cBusService() override;
    I2cBusService(const I2cBusService&) = delete;
    I2cBusService& operator=(const I2cBusService&) = delete;

    unsigned bus() const { return bus_; }

    // Sends `bytes` to `address`; with `awaitsReply` the lock is kept for the reading that
    // follows. 0 or an errno value.
    std::int32_t write(std::uint16_t address, std::span<const std::uint8_t> bytes,
                       Exchange exchange);
    // Reads `buffer.size()` bytes from `address` and ends the exchange. 0 or an errno value.
    std::int32_t read(std::uint16_t address, std::span<std::uint8_t> buffer);

  private:
    struct Failure {
        std::int32_t status = 0;
        bool notReady = false;  // the bus itself is not usable yet; worth waiting for
    };

    // Runs one transfer of `size` bytes, retried while the bus settles.
    std::int32_t run(std::uint16_t address, std::size_t size,
                     const std::function<long()>& transfer);
    Failure attempt(std::uint16_t address, std::size_t size,
                    const std::function<long()>& transfer);
    Failure openBus();
    Failure lockBus();
    Failure addressMonitor(std::uint16_t address);
    void waitForGap();
    void unlock();
    void closeBus();
    bool settling() const;

    std::shared_ptr<I2cSystemCalls> calls_;
    std::string device_;
    unsigned bus_;
    int fd_;
    std::shared_ptr<const std::atomic<unsigned>> wakes_;
    I2cBusTiming timing_;
    FailureEpisode openFailures_;  // the bus that cannot be opened, logged once

    std::mutex mutex_;
    bool locked_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastWrite_;
    std::optional<unsigned> settledAtWake_;  // none while fresh
    std::optional<std::chrono::steady_clock::time_point> settleDeadline_;
};

}  // namespace corvane::linux_desktop
