#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace corvane::linux_desktop {

// The file operations that DDC/CI over i2c-dev needs, and the clock its waits use. Each file
// operation returns what its POSIX namesake returns, except that a failure is -errno rather
// than -1.
class I2cSystemCalls {
  public:
    virtual ~I2cSystemCalls() = default;

    virtual int open(const std::string& path, int flags) = 0;
    virtual int ioctl(int fd, unsigned long request, unsigned long argument) = 0;
    virtual ssize_t read(int fd, std::span<std::uint8_t> buffer) = 0;
    virtual ssize_t write(int fd, std::span<const std::uint8_t> bytes) = 0;
    virtual int flock(int fd, int operation) = 0;
    virtual int close(int fd) = 0;

    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void sleepFor(std::chrono::steady_clock::duration duration) = 0;
};

// The process's own system calls.
std::shared_ptr<I2cSystemCalls> posixI2cSystemCalls();

}  // namespace corvane::linux_desktop
