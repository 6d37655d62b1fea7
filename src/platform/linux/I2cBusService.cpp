#include "platform/linux/I2cBusService.h"

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <functional>

namespace corvane::linux_desktop {
namespace {

std::int32_t errnoOf(long result) {
    return result < 0 ? static_cast<std::int32_t>(-result) : EIO;
}

// Errors of a device node that udev has not made or not yet granted, or of an adapter that is
// still coming up.
bool notReadyError(std::int32_t error) {
    return error == EACCES || error == EPERM || error == ENOENT || error == ENODEV ||
           error == ENXIO || error == EAGAIN;
}

}  // namespace

I2cBusService::I2cBusService(std::shared_ptr<I2cSystemCalls> calls, std::string device,
                             unsigned bus, int fd,
                             std::shared_ptr<const std::atomic<unsigned>> wakes,
                             I2cBusTiming timing)
    : calls_(std::move(calls)),
      device_(std::move(device)),
      bus_(bus),
      fd_(fd),
      wakes_(std::move(wakes)),
      timing_(timing),
      openFailures_(DiagnosticTopic::ddc, device_) {}

I2cBusService::~I2cBusService() {
    closeBus();
}

std::int32_t I2cBusService::write(std::uint16_t address, std::span<const std::uint8_t> bytes,
                                  Exchange exchange) {
    std::lock_guard guard(mutex_);
    const std::int32_t status =
        run(address, bytes.size(), [&] { return static_cast<long>(calls_->write(fd_, bytes)); });
    lastWrite_ = calls_->now();
    if (status != 0 || exchange == Exchange::ends) unlock();
    return status;
}

std::int32_t I2cBusService::read(std::uint16_t address, std::span<std::uint8_t> buffer) {
    std::lock_guard guard(mutex_);
    const std::int32_t status =
        run(address, buffer.size(), [&] { return static_cast<long>(calls_->read(fd_, buffer)); });
    unlock();
    return status;
}

std::int32_t I2cBusService::run(std::uint16_t address, std::size_t size,
                                const std::function<long()>& transfer) {
    for (;;) {
        const Failure failure = attempt(address, size, transfer);
        if (failure.status == 0) {
            settledAtWake_ = wakes_->load();
            settleDeadline_.reset();
            return 0;
        }
        if (!failure.notReady || !settling()) return failure.status;
        const auto now = calls_->now();
        if (!settleDeadline_) settleDeadline_ = now + timing_.settleWindow;
        if (now >= *settleDeadline_) {
            // The bus did not come up in time: from now on its failures count at once.
            settledAtWake_ = wakes_->load();
            settleDeadline_.reset();
            return failure.status;
        }
        calls_->sleepFor(timing_.settlePoll);
    }
}

I2cBusService::Failure I2cBusService::attempt(std::uint16_t address, std::size_t size,
                                              const std::function<long()>& transfer) {
    if (Failure failure = openBus(); failure.status) return failure;
    if (Failure failure = lockBus(); failure.status) return failure;
    if (Failure failure = addressMonitor(address); failure.status) return failure;
    waitForGap();
    const long result = transfer();
    if (result == static_cast<long>(size)) return {};
    const std::int32_t error = errnoOf(result);  // a short transfer is EIO
    if (error == ENODEV) closeBus();  // the adapter went away; open it afresh
    return {error, error == ENODEV};
}

I2cBusService::Failure I2cBusService::openBus() {
    if (fd_ >= 0) return {};
    const int fd = calls_->open(device_, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        openFailures_.failed(std::strerror(errnoOf(fd)));
        return {errnoOf(fd), notReadyError(errnoOf(fd))};
    }
    openFailures_.succeeded();
    fd_ = fd;
    return {};
}

I2cBusService::Failure I2cBusService::lockBus() {
    if (locked_) return {};
    const auto giveUp = calls_->now() + timing_.lockWait;
    for (;;) {
        const int result = calls_->flock(fd_, LOCK_EX | LOCK_NB);
        if (result == 0) break;
        if (errnoOf(result) != EWOULDBLOCK || calls_->now() >= giveUp) return {errnoOf(result)};
        calls_->sleepFor(timing_.lockPoll);
    }
    locked_ = true;
    return {};
}

// A kernel driver bound to the address (ddcci) makes the plain request fail with EBUSY; the
// monitor still answers, so the address is then taken over.
I2cBusService::Failure I2cBusService::addressMonitor(std::uint16_t address) {
    int result = calls_->ioctl(fd_, I2C_SLAVE, address);
    if (result < 0 && errnoOf(result) == EBUSY) result = calls_->ioctl(fd_, I2C_SLAVE_FORCE, address);
    if (result < 0) return {errnoOf(result), errnoOf(result) == ENODEV};
    return {};
}

void I2cBusService::waitForGap() {
    if (!lastWrite_) return;
    const auto ready = *lastWrite_ + timing_.writeGap;
    const auto now = calls_->now();
    if (now < ready) calls_->sleepFor(ready - now);
}

void I2cBusService::unlock() {
    if (!locked_) return;
    calls_->flock(fd_, LOCK_UN);
    locked_ = false;
}

void I2cBusService::closeBus() {
    if (fd_ < 0) return;
    calls_->close(fd_);  // also drops the lock
    fd_ = -1;
    locked_ = false;
}

bool I2cBusService::settling() const {
    return !settledAtWake_ || *settledAtWake_ != wakes_->load();
}

}  // namespace corvane::linux_desktop
