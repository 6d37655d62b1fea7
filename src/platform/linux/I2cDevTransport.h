#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "platform/PrivateDisplayFunctions.h"
#include "platform/linux/DrmConnectors.h"
#include "platform/linux/I2cSystemCalls.h"

namespace corvane::linux_desktop {

// An open i2c-dev bus: the AV service of an external monitor. Closes the bus when the last
// handle goes.
class I2cBusService final : public AVService {
  public:
    I2cBusService(std::shared_ptr<I2cSystemCalls> calls, int fd, unsigned bus)
        : calls_(std::move(calls)), fd_(fd), bus_(bus) {}
    ~I2cBusService() override { calls_->close(fd_); }
    I2cBusService(const I2cBusService&) = delete;
    I2cBusService& operator=(const I2cBusService&) = delete;

    I2cSystemCalls& calls() const { return *calls_; }
    int fd() const { return fd_; }
    unsigned bus() const { return bus_; }

  private:
    std::shared_ptr<I2cSystemCalls> calls_;
    int fd_;
    unsigned bus_;
};

// DDC/CI transfers over the kernel's i2c-dev buses. Only a display connector's own DDC bus is
// ever opened, and only the monitor's DDC/CI address (0x37) is ever addressed. Statuses are 0
// on success and an errno value otherwise. Transfers may run on any thread.
class I2cDevTransport {
  public:
    explicit I2cDevTransport(std::filesystem::path devRoot,
                             std::shared_ptr<I2cSystemCalls> calls = posixI2cSystemCalls());

    // Opens <dev>/i2c-<N> for the adapter the connector's "ddc" link names; null when the
    // connector has none or the bus cannot be opened (permission denied included).
    AVServiceHandle openDdcBus(const DrmConnector& connector) const;

    // Reads `buffer.size()` bytes from the monitor. Only offset 0 is supported.
    std::int32_t read(AVService& service, std::uint32_t chip, std::uint32_t offset,
                      std::span<std::uint8_t> buffer) const;
    // Sends `dataAddress` (the host's source address) followed by `frame`.
    std::int32_t write(AVService& service, std::uint32_t chip, std::uint32_t dataAddress,
                       std::span<const std::uint8_t> frame) const;

  private:
    std::filesystem::path devRoot_;
    std::shared_ptr<I2cSystemCalls> calls_;
};

}  // namespace corvane::linux_desktop
