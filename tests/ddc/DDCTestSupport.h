#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "ddc/DDCController.h"
#include "ddc/DDCProtocol.h"
#include "platform/sim/SimDesktop.h"

namespace corvane::ddc_test {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// Waits (with a generous limit) until `condition` holds.
template <typename Condition>
bool eventually(Condition condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

inline std::vector<microseconds> ms(std::initializer_list<int> values) {
    std::vector<microseconds> out;
    for (int value : values) out.push_back(milliseconds(value));
    return out;
}

// A desktop with one DDC/CI monitor, and an AV service that talks to it.
struct MonitorFixture {
    explicit MonitorFixture(std::uint16_t current = 50, std::uint16_t maximum = 100) {
        id = desktop.add(sim::SimDisplayConfig::ddcMonitor("Studio", sim::SimDDCConfig{current, maximum}));
        monitor = desktop.display(id).monitor;
        service = std::make_shared<sim::SimAVService>(monitor);
    }

    sim::SimDesktop desktop;
    DisplayID id = 0;
    std::shared_ptr<sim::SimDDCMonitor> monitor;
    std::shared_ptr<sim::SimAVService> service;
};

// The fixture's controller after its first reading, whose answer is handed to `done`.
inline std::shared_ptr<DDCController> readController(
    MonitorFixture& fixture, std::function<void(bool answered)> done = [](bool) {}) {
    auto controller = DDCController::make(fixture.desktop.platform(), fixture.id, fixture.service);
    controller->readFirst(std::move(done));
    fixture.desktop.loop().runPending();
    return controller;
}

// The Set VCP Feature request for brightness. Its framing is checked byte by byte in the
// protocol tests; the controller tests use it to tell which values were sent.
inline Bytes setBrightnessFrame(std::uint16_t value) {
    return DDCProtocol::wrap(
        {0x10, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)});
}

inline const Bytes kGetBrightnessFrame{0x82, 0x01, 0x10, 0xAC};

}  // namespace corvane::ddc_test
