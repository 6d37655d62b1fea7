// Start-up against DDC/CI monitors that never answer, on the real Linux desktop's code over a
// fake device tree: from making the desktop to the painted popover.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDBusConnection>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "Verdicts.h"
#include "app/ApplicationShell.h"
#include "app/LinuxDesktop.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/sim/SimIndicatorPanels.h"

namespace corvane::app {
namespace {

namespace fs = std::filesystem;

constexpr double kFrameMs = 16;

void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// A 128-byte EDID base block of monitor `serial`, its checksum right.
std::string edid(unsigned serial) {
    std::array<unsigned char, 128> block{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                                         0x10, 0xAC, 0x09, 0x20};
    for (int i = 0; i < 4; ++i) block[12 + i] = static_cast<unsigned char>(serial >> (8 * i));
    block[18] = 1;
    block[19] = 4;
    unsigned sum = 0;
    for (int i = 0; i < 127; ++i) sum += block[i];
    block[127] = static_cast<unsigned char>((256 - sum % 256) % 256);
    return {block.begin(), block.end()};
}

// sys/ with `monitors` DisplayPort connectors, each with its DDC bus, and dev/ with a node per
// bus that is a plain file: every transfer on it fails, as with a monitor that never answers,
// after the protocol's own pauses and retries.
void buildTree(const fs::path& root, int monitors) {
    const fs::path card = root / "sys/devices/pci0000:00/drm/card0";
    for (int index = 1; index <= monitors; ++index) {
        const std::string name = "card0-DP-" + std::to_string(index);
        const fs::path connector = card / name;
        writeFile(connector / "status", "connected\n");
        writeFile(connector / "enabled", "enabled\n");
        writeFile(connector / "edid", edid(1000 + static_cast<unsigned>(index)));
        const fs::path adapter = root / ("sys/devices/pci0000:00/i2c-" + std::to_string(index));
        fs::create_directories(adapter);
        fs::create_directory_symlink(adapter, connector / "ddc");
        fs::create_directories(root / "sys/class/drm");
        fs::create_directory_symlink(connector, root / "sys/class/drm" / name);
        writeFile(root / ("dev/i2c-" + std::to_string(index)), "");
    }
    fs::create_directories(root / "sys/class/drm");
    fs::create_directories(root / "dev");
    fs::create_directories(root / "config");
}

void BM_StartWithSilentMonitors(benchmark::State& state) {
    const int monitors = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    const fs::path root = folder.path().toStdString();
    buildTree(root, monitors);
    LinuxRoots roots{root / "sys", root / "dev", root / "config"};
    sim::SimIndicatorPanels panels;
    // A monitor's reading still under way when its model goes keeps using the desktop until it
    // ends (the application's desktop lives as long as the process): the desktops are released
    // only after the last reading has had time to end.
    std::vector<std::unique_ptr<LinuxDesktop>> finished;
    // From nothing to the painted popover; the desktop is kept for release later.
    auto start = [&] {
        auto begin = std::chrono::steady_clock::now();
        // No session bus: no desktop's brightness service stands in for the devices.
        auto desktop = std::make_unique<LinuxDesktop>(roots, panels, WindowSystem::x11,
                                                      QDBusConnection(QString()));
        auto hud = BrightnessHUD::create(desktop->loop(), desktop->platform().screens,
                                         desktop->platform().indicatorPanels);
        auto model = AppModel::make(desktop->platform(), *hud);
        model->start();
        auto shell = std::make_unique<ApplicationShell>(*model, true, true);
        shell->popover().showBeside(QRect(600, 0, 24, 24));
        benchmark::DoNotOptimize(shell->popover().grab());
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        model->teardown();
        desktop->loop().stop();
        shell.reset();
        model.reset();
        hud.reset();
        finished.push_back(std::move(desktop));
        return ms;
    };
    start();  // the first start in a process also loads fonts and icons
    double totalMs = 0;
    for (auto _ : state) {
        double ms = start();
        totalMs += ms;
        state.SetIterationTime(ms / 1000);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    finished.clear();
    double ms = totalMs / static_cast<double>(state.iterations());
    bench::recordVerdict("start to popover, silent DDC monitors/" + std::to_string(monitors),
                         "< " + bench::figure(kFrameMs, "ms"), bench::figure(ms, "ms"),
                         ms < kFrameMs);
}
BENCHMARK(BM_StartWithSilentMonitors)
    ->ArgName("monitors")
    ->DenseRange(0, 4)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane::app
