#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/PrivateDisplayFunctions.h"
#include "platform/linux/I2cBusService.h"
#include "platform/linux/I2cSystemCalls.h"

namespace corvane::linux_desktop {

// DDC/CI transfers over the kernel's i2c-dev buses. Only two addresses are ever put on a bus:
// the monitor's DDC/CI address (0x37), for transfers both ways, and its EDID EEPROM (0x50),
// which is only ever read. Statuses are 0 on success and an errno value otherwise. Transfers
// may run on any thread.
class I2cDevTransport {
  public:
    explicit I2cDevTransport(std::filesystem::path devRoot,
                             std::shared_ptr<I2cSystemCalls> calls = posixI2cSystemCalls(),
                             I2cBusTiming timing = {});

    // When the bus of a display showed up: with the application, or later (a hot-plug).
    enum class Arrival { atStart, hotPlugged };

    // The DDC/CI channel on <dev>/i2c-<bus>, opened now. A bus that is not ready yet (no
    // device node, or not yet granted to the seat's user) gives a channel only after a
    // hot-plug, which then waits for it at its first transfer (see I2cBusService); at start
    // such a bus gives none, so a machine without access does not wait for it.
    AVServiceHandle ddcService(unsigned bus, Arrival arrival) const;

    // Reads `buffer.size()` bytes from the monitor. Only offset 0 is supported.
    std::int32_t read(AVService& service, std::uint32_t chip, std::uint32_t offset,
                      std::span<std::uint8_t> buffer) const;
    // Sends `dataAddress` (the host's source address) followed by `frame`.
    std::int32_t write(AVService& service, std::uint32_t chip, std::uint32_t dataAddress,
                       std::span<const std::uint8_t> frame) const;

    // The EDID base block and first extension of the monitor on <dev>/i2c-<bus>, read without
    // writing anything: 256 bytes from wherever the EEPROM's address pointer stands (it wraps
    // at 256), turned so that the fixed header comes first. None when the bus cannot be read
    // or holds no EDID header.
    std::optional<std::vector<std::uint8_t>> readEdid(unsigned bus) const;

    // After a wake from sleep: every bus settles again (see I2cBusService).
    void busesSettling();

  private:
    std::string device(unsigned bus) const;

    std::filesystem::path devRoot_;
    std::shared_ptr<I2cSystemCalls> calls_;
    I2cBusTiming timing_;
    std::shared_ptr<std::atomic<unsigned>> wakes_ = std::make_shared<std::atomic<unsigned>>(0);
};

}  // namespace corvane::linux_desktop
