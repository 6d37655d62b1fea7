#pragma once

#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/linux/I2cSystemCalls.h"

namespace corvane::linux_desktop::testing {

using Bytes = std::vector<std::uint8_t>;

// i2c-dev buses on a virtual clock. Records every call as "<op> <device> <detail>", where the
// device is the file name ("i2c-5"); each bus answers as its settings say.
class FakeI2c final : public I2cSystemCalls {
  public:
    struct Bus {
        std::vector<int> openErrors;  // the errors of the next opens, then success
        Bytes edid;                   // what the EEPROM at 0x50 holds (empty: nothing answers)
        std::size_t edidPointer = 0;  // where the EEPROM's address pointer stands
        bool ddcciDriverBound = false;     // plain I2C_SLAVE on 0x37 is EBUSY
        int lockedByOthersFor = 0;         // lock attempts refused before it is free
        Bytes reply;                       // what the monitor at 0x37 answers
        int transferErrno = 0;
    };

    int open(const std::string& path, int flags) override {
        const std::string name = path.substr(path.rfind('/') + 1);
        Bus& bus = buses[name];
        log.push_back("open " + name + ((flags & O_ACCMODE) == O_RDONLY ? " ro" : " rw"));
        if (!bus.openErrors.empty()) {
            const int error = bus.openErrors.front();
            bus.openErrors.erase(bus.openErrors.begin());
            return -error;
        }
        fds[nextFd] = {name, 0};
        return nextFd++;
    }
    int ioctl(int fd, unsigned long request, unsigned long argument) override {
        Open& file = fds.at(fd);
        const bool force = request == I2C_SLAVE_FORCE;
        log.push_back("address " + file.bus + " " + std::to_string(argument) +
                      (force ? " force" : ""));
        addressed.insert(argument);
        if (argument == 0x37 && buses[file.bus].ddcciDriverBound && !force) return -EBUSY;
        file.address = argument;
        return 0;
    }
    ssize_t read(int fd, std::span<std::uint8_t> buffer) override {
        Open& file = fds.at(fd);
        Bus& bus = buses[file.bus];
        log.push_back("read " + file.bus + " " + std::to_string(file.address) + " " +
                      std::to_string(buffer.size()));
        if (file.address == 0x50) {
            if (bus.edid.empty()) return -ENXIO;
            for (std::uint8_t& byte : buffer) byte = bus.edid[bus.edidPointer++ % bus.edid.size()];
            return static_cast<ssize_t>(buffer.size());
        }
        if (bus.transferErrno) return -bus.transferErrno;
        const std::size_t count = std::min(buffer.size(), bus.reply.size());
        std::copy_n(bus.reply.begin(), count, buffer.begin());
        return static_cast<ssize_t>(count);
    }
    ssize_t write(int fd, std::span<const std::uint8_t> bytes) override {
        Open& file = fds.at(fd);
        log.push_back("write " + file.bus + " " + std::to_string(file.address));
        written.emplace_back(bytes.begin(), bytes.end());
        writeTimes.push_back(clock);
        if (buses[file.bus].transferErrno) return -buses[file.bus].transferErrno;
        return static_cast<ssize_t>(bytes.size());
    }
    int flock(int fd, int operation) override {
        Open& file = fds.at(fd);
        if (operation & LOCK_UN) {
            log.push_back("unlock " + file.bus);
            return 0;
        }
        Bus& bus = buses[file.bus];
        if (bus.lockedByOthersFor > 0) {
            --bus.lockedByOthersFor;
            return -EWOULDBLOCK;
        }
        log.push_back("lock " + file.bus);
        return 0;
    }
    int close(int fd) override {
        log.push_back("close " + fds.at(fd).bus);
        fds.erase(fd);
        return 0;
    }
    std::chrono::steady_clock::time_point now() override { return clock; }
    void sleepFor(std::chrono::steady_clock::duration duration) override {
        clock += duration;
        slept += duration;
    }

    // The log entries that start with `prefix`.
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& entry : log)
            if (entry.starts_with(prefix)) found.push_back(entry);
        return found;
    }

    std::map<std::string, Bus> buses;  // by device name, "i2c-5"
    std::vector<std::string> log;
    std::vector<Bytes> written;
    std::vector<std::chrono::steady_clock::time_point> writeTimes;
    std::set<unsigned long> addressed;
    std::chrono::steady_clock::time_point clock{std::chrono::hours(1)};
    std::chrono::steady_clock::duration slept{};

  private:
    struct Open {
        std::string bus;
        unsigned long address = 0;
    };
    std::map<int, Open> fds;
    int nextFd = 10;
};

}  // namespace corvane::linux_desktop::testing
