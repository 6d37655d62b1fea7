#include "platform/linux/I2cDevTransport.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/file.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace corvane::linux_desktop {
namespace {

constexpr std::uint16_t kDdcCiAddress = 0x37;
constexpr std::uint16_t kEdidAddress = 0x50;
constexpr std::size_t kEdidReadLength = 256;
constexpr std::array<std::uint8_t, 8> kEdidHeader = {0x00, 0xFF, 0xFF, 0xFF,
                                                     0xFF, 0xFF, 0xFF, 0x00};

// DDC/CI requests the monitor answers: Get VCP Feature, Get Timing Report, Capabilities and
// Table Read. The opcode follows the frame's length byte.
bool awaitsReply(std::span<const std::uint8_t> frame) {
    if (frame.size() < 2) return false;
    for (std::uint8_t opcode : {0x01, 0x07, 0xF1, 0xE2})
        if (frame[1] == opcode) return true;
    return false;
}

I2cBusService* busService(AVService& service) {
    return dynamic_cast<I2cBusService*>(&service);
}

// The bytes turned so that the EDID header leads; none without a header.
std::optional<std::vector<std::uint8_t>> headerFirst(const std::vector<std::uint8_t>& bytes) {
    for (std::size_t start = 0; start < bytes.size(); ++start) {
        bool header = true;
        for (std::size_t i = 0; i < kEdidHeader.size() && header; ++i)
            header = bytes[(start + i) % bytes.size()] == kEdidHeader[i];
        if (!header) continue;
        std::vector<std::uint8_t> turned(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                         bytes.end());
        turned.insert(turned.end(), bytes.begin(),
                      bytes.begin() + static_cast<std::ptrdiff_t>(start));
        return turned;
    }
    return std::nullopt;
}

}  // namespace

I2cDevTransport::I2cDevTransport(std::filesystem::path devRoot,
                                 std::shared_ptr<I2cSystemCalls> calls, I2cBusTiming timing)
    : devRoot_(std::move(devRoot)), calls_(std::move(calls)), timing_(timing) {}

std::string I2cDevTransport::device(unsigned bus) const {
    return (devRoot_ / ("i2c-" + std::to_string(bus))).string();
}

AVServiceHandle I2cDevTransport::ddcService(unsigned bus, Arrival arrival) const {
    const int fd = calls_->open(device(bus), O_RDWR | O_CLOEXEC);
    const bool notReady = fd == -EACCES || fd == -EPERM || fd == -ENOENT || fd == -ENODEV;
    if (fd < 0 && !(notReady && arrival == Arrival::hotPlugged)) return nullptr;
    return std::make_shared<I2cBusService>(calls_, device(bus), bus, fd < 0 ? -1 : fd, wakes_,
                                           timing_);
}

void I2cDevTransport::busesSettling() {
    wakes_->fetch_add(1);
}

std::int32_t I2cDevTransport::read(AVService& service, std::uint32_t chip, std::uint32_t offset,
                                   std::span<std::uint8_t> buffer) const {
    I2cBusService* bus = busService(service);
    if (!bus || chip != kDdcCiAddress || offset != 0 || buffer.empty()) return EINVAL;
    return bus->read(kDdcCiAddress, buffer);
}

std::int32_t I2cDevTransport::write(AVService& service, std::uint32_t chip,
                                    std::uint32_t dataAddress,
                                    std::span<const std::uint8_t> frame) const {
    I2cBusService* bus = busService(service);
    if (!bus || chip != kDdcCiAddress || dataAddress > 0xFF) return EINVAL;
    std::vector<std::uint8_t> message{static_cast<std::uint8_t>(dataAddress)};
    message.insert(message.end(), frame.begin(), frame.end());
    return bus->write(kDdcCiAddress, message,
                      awaitsReply(frame) ? I2cBusService::Exchange::awaitsReply
                                         : I2cBusService::Exchange::ends);
}

std::optional<std::vector<std::uint8_t>> I2cDevTransport::readEdid(unsigned bus) const {
    const int fd = calls_->open(device(bus), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> bytes(kEdidReadLength);
    // A bus another program is using is skipped rather than waited for; an EEPROM driver
    // bound to the address is left alone.
    const bool read = calls_->flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                      calls_->ioctl(fd, I2C_SLAVE, kEdidAddress) == 0 &&
                      calls_->read(fd, bytes) == static_cast<ssize_t>(bytes.size());
    calls_->close(fd);
    if (!read) return std::nullopt;
    return headerFirst(bytes);
}

}  // namespace corvane::linux_desktop
