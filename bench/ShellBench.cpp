// Benchmarks of the application shell on the simulated desktop, off screen: opening the
// popover, a slider step and a key step against the number of displays, and the idle
// application's main-loop callbacks, wake-ups, icon redraws and memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "CpuClock.h"
#include "Verdicts.h"
#include "app/ApplicationShell.h"
#include "app/SimulatedDesktop.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "ui/MenuPopoverView.h"

namespace corvane::app {
namespace {

using bench::figure;
using bench::recordVerdict;

constexpr double kFrameMs = 16;
constexpr double kSliderStepMs = 1;
constexpr double kKeyStepUs = 50;
constexpr double kIdleCallbacksPerSecond = 2.5;
// The size at which a tray asks for its icon; asking for it is part of what a change costs.
constexpr QSize kTrayIconSize(22, 22);

std::string nameOf(const benchmark::State& state, const char* base) {
    return std::string(base) + "/" + std::to_string(state.range(0));
}

// Runs the event loop until `done` holds (or five seconds pass).
template <typename Predicate>
void runUntil(Predicate done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A started model on a simulated desktop of `count` displays, every monitor read.
struct RunningApplication {
    explicit RunningApplication(int count)
        : desktop(SimulatedDesktop::displays(count)),
          hud(BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                    desktop.platform().indicatorPanels)),
          model(AppModel::make(desktop.platform(), *hud)) {
        model->start();
        runUntil([&] { return model->sessions().size() == static_cast<std::size_t>(count); });
    }
    ~RunningApplication() {
        model->teardown();
        desktop.loop().stop();
    }

    SimulatedDesktop desktop;
    std::shared_ptr<BrightnessHUD> hud;
    std::shared_ptr<AppModel> model;
};

// Runs what a change left pending: layout, and the paint of the regions it marked dirty.
void flushPaint() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// What a tray does after the icon changed: asks for it at its size.
void trayRepaint(ApplicationShell& shell) {
    if (MenuBarItem* item = shell.menuBarItem())
        benchmark::DoNotOptimize(item->icon().pixmap(kTrayIconSize));
}

// From nothing to a painted popover: the view, the window, layout and the first paint.
void BM_OpenPopover(benchmark::State& state) {
    RunningApplication application(static_cast<int>(state.range(0)));
    double totalMs = 0;
    for (auto _ : state) {
        auto begin = std::chrono::steady_clock::now();
        ApplicationShell shell(*application.model, true, true);
        shell.popover().showBeside(QRect(600, 0, 24, 24));
        benchmark::DoNotOptimize(shell.popover().grab());
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        state.PauseTiming();
        shell.popover().hide();
        flushPaint();
        state.ResumeTiming();
    }
    double ms = totalMs / static_cast<double>(state.iterations());
    recordVerdict(nameOf(state, "open popover, displays"), "< " + figure(kFrameMs, "ms"),
                  figure(ms, "ms"), ms < kFrameMs);
}
BENCHMARK(BM_OpenPopover)->ArgName("displays")->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// One drag step on the first card with the displays kept in step: apply to every display,
// publish, paint what changed in the open popover, and the tray's new icon. CPU time of the
// main thread (DDC writes run on the monitors' own threads).
void BM_SliderStep(benchmark::State& state) {
    RunningApplication application(static_cast<int>(state.range(0)));
    application.model->setSyncDisplays(true);
    ApplicationShell shell(*application.model, true, true);
    shell.popover().showBeside(QRect(600, 0, 24, 24));
    flushPaint();
    DisplayID first = application.model->displays().front().id;
    double level = 20;
    double cpu = 0;
    for (auto _ : state) {
        level = level >= 80 ? 20 : level + 0.5;
        double begin = bench::threadCpuSeconds();
        application.model->apply(level, first);
        application.model->publish();
        flushPaint();
        trayRepaint(shell);
        cpu += bench::threadCpuSeconds() - begin;
    }
    double ms = cpu * 1e3 / static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = ms;
    recordVerdict(nameOf(state, "slider step in step, displays"), "< " + figure(kSliderStepMs, "ms"),
                  figure(ms, "ms"), ms < kSliderStepMs);
}
BENCHMARK(BM_SliderStep)->ArgName("displays")->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

// One brightness key step (level, publication, indicator, hold) with the popover closed, with
// and without a tray item whose icon follows the level. CPU time of the main thread.
void BM_KeyStep(benchmark::State& state) {
    RunningApplication application(3);
    bool tray = state.range(0) != 0;
    ApplicationShell shell(*application.model, tray, true);
    application.model->applyStored();
    bool up = true;
    double cpu = 0;
    for (auto _ : state) {
        double begin = bench::threadCpuSeconds();
        application.model->stepBrightness(up ? BrightnessKey::up : BrightnessKey::down, false);
        trayRepaint(shell);
        cpu += bench::threadCpuSeconds() - begin;
        up = !up;
    }
    double us = cpu * 1e6 / static_cast<double>(state.iterations());
    state.counters["cpu_us"] = us;
    recordVerdict(nameOf(state, "key step, tray"), "< " + figure(kKeyStepUs, "us"),
                  figure(us, "us"), us < kKeyStepUs);
}
BENCHMARK(BM_KeyStep)->ArgName("tray")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A line of /proc/self/status (or of a thread's), as a number: "VmRSS:" in kilobytes.
long statusField(const std::string& path, const std::string& field) {
    std::ifstream status(path);
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
    return 0;
}

// Times any thread of the process went to sleep and was woken: its real wake-ups.
long processWakeups() {
    long total = 0;
    for (const auto& thread : std::filesystem::directory_iterator("/proc/self/task"))
        total += statusField(thread.path() / "status", "voluntary_ctxt_switches:");
    return total;
}

// The application with three displays and its tray item, left alone for ten seconds of real
// time: how often the process wakes, how many of those are the main loop's callbacks, whether
// the icon is drawn again, and the resident memory.
void BM_IdleApplication(benchmark::State& state) {
    RunningApplication application(3);
    ApplicationShell shell(*application.model, true, true);
    shell.show();
    flushPaint();
    for (auto _ : state) {
        std::uint64_t callbacks = application.desktop.loop().wakeups();
        long wakeups = processWakeups();
        int redraws = shell.menuBarItem()->redrawCount();
        QElapsedTimer clock;
        clock.start();
        QEventLoop idle;
        QTimer::singleShot(10000, &idle, &QEventLoop::quit);
        idle.exec();
        double seconds = clock.elapsed() / 1000.0;
        // The one wake-up that ends the wait is the benchmark's own.
        state.counters["wakeups_per_s"] =
            static_cast<double>(processWakeups() - wakeups - 1) / seconds;
        double perSecond =
            static_cast<double>(application.desktop.loop().wakeups() - callbacks) / seconds;
        state.counters["loop_callbacks_per_s"] = perSecond;
        state.counters["icon_redraws"] = shell.menuBarItem()->redrawCount() - redraws;
        state.counters["rss_MiB"] = statusField("/proc/self/status", "VmRSS:") / 1024.0;
        // One callback a poll; the tolerance covers a poll that falls either side of the edges.
        recordVerdict("idle main-loop callbacks", "<= " + figure(kIdleCallbacksPerSecond, "/s"),
                      figure(perSecond, "/s"), perSecond <= kIdleCallbacksPerSecond + 0.15);
    }
}
BENCHMARK(BM_IdleApplication)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvane::app
