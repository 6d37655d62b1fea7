#include "platform/linux/I2cDevTransport.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>

#include <cerrno>
#include <vector>

namespace corvane::linux_desktop {
namespace {

constexpr std::uint32_t kDdcCiAddress = 0x37;

I2cBusService* busService(AVService& service) {
    return dynamic_cast<I2cBusService*>(&service);
}

std::int32_t status(long result) {
    return result < 0 ? static_cast<std::int32_t>(-result) : EIO;
}

// Addresses the monitor on the bus; 0 or an errno value.
std::int32_t addressMonitor(const I2cBusService& bus) {
    const int result = bus.calls().ioctl(bus.fd(), I2C_SLAVE, kDdcCiAddress);
    return result < 0 ? status(result) : 0;
}

}  // namespace

I2cDevTransport::I2cDevTransport(std::filesystem::path devRoot,
                                 std::shared_ptr<I2cSystemCalls> calls)
    : devRoot_(std::move(devRoot)), calls_(std::move(calls)) {}

AVServiceHandle I2cDevTransport::openDdcBus(const DrmConnector& connector) const {
    if (!connector.ddcBus) return nullptr;
    const std::filesystem::path device = devRoot_ / ("i2c-" + std::to_string(*connector.ddcBus));
    const int fd = calls_->open(device.string(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_shared<I2cBusService>(calls_, fd, *connector.ddcBus);
}

std::int32_t I2cDevTransport::read(AVService& service, std::uint32_t chip, std::uint32_t offset,
                                   std::span<std::uint8_t> buffer) const {
    I2cBusService* bus = busService(service);
    if (!bus || chip != kDdcCiAddress || offset != 0 || buffer.empty()) return EINVAL;
    if (std::int32_t failure = addressMonitor(*bus)) return failure;
    const ssize_t count = bus->calls().read(bus->fd(), buffer);
    return count == static_cast<ssize_t>(buffer.size()) ? 0 : status(count);
}

std::int32_t I2cDevTransport::write(AVService& service, std::uint32_t chip,
                                    std::uint32_t dataAddress,
                                    std::span<const std::uint8_t> frame) const {
    I2cBusService* bus = busService(service);
    if (!bus || chip != kDdcCiAddress || dataAddress > 0xFF) return EINVAL;
    std::vector<std::uint8_t> message{static_cast<std::uint8_t>(dataAddress)};
    message.insert(message.end(), frame.begin(), frame.end());
    if (std::int32_t failure = addressMonitor(*bus)) return failure;
    const ssize_t count = bus->calls().write(bus->fd(), message);
    return count == static_cast<ssize_t>(message.size()) ? 0 : status(count);
}

}  // namespace corvane::linux_desktop
