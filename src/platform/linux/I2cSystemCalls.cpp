#include "platform/linux/I2cSystemCalls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace corvane::linux_desktop {
namespace {

template <typename Result>
Result orErrno(Result result) {
    return result < 0 ? -errno : result;
}

class PosixI2cSystemCalls final : public I2cSystemCalls {
  public:
    int open(const std::string& path, int flags) override {
        return orErrno(::open(path.c_str(), flags));
    }
    int ioctl(int fd, unsigned long request, unsigned long argument) override {
        return orErrno(::ioctl(fd, request, argument));
    }
    ssize_t read(int fd, std::span<std::uint8_t> buffer) override {
        return orErrno(::read(fd, buffer.data(), buffer.size()));
    }
    ssize_t write(int fd, std::span<const std::uint8_t> bytes) override {
        return orErrno(::write(fd, bytes.data(), bytes.size()));
    }
    int flock(int fd, int operation) override { return orErrno(::flock(fd, operation)); }
    int close(int fd) override { return orErrno(::close(fd)); }

    std::chrono::steady_clock::time_point now() override {
        return std::chrono::steady_clock::now();
    }
    void sleepFor(std::chrono::steady_clock::duration duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace

std::shared_ptr<I2cSystemCalls> posixI2cSystemCalls() {
    return std::make_shared<PosixI2cSystemCalls>();
}

}  // namespace corvane::linux_desktop
