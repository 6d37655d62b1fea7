// Benchmarks of the application shell, off screen: opening the popover, one slider move, and
// the idle application's wake-ups, icon redraws and memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/ApplicationShell.h"
#include "app/SimulatedDesktop.h"
#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "ui/MenuPopoverView.h"

namespace corvane::app {
namespace {

// A started model on a simulated desktop of `count` displays, with the shell around it.
struct RunningApplication {
    explicit RunningApplication(int count)
        : desktop(SimulatedDesktop::displays(count)),
          hud(BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                    desktop.platform().indicatorPanels)),
          model(AppModel::make(desktop.platform(), *hud)) {
        model->start();
    }
    ~RunningApplication() {
        model->teardown();
        desktop.loop().stop();
    }

    SimulatedDesktop desktop;
    std::shared_ptr<BrightnessHUD> hud;
    std::shared_ptr<AppModel> model;
};

void settle() {
    QCoreApplication::processEvents();
}

// From nothing to a painted popover: the view, the window, layout and the first paint.
void BM_OpenPopoverWithFourDisplays(benchmark::State& state) {
    RunningApplication application(4);
    for (auto _ : state) {
        ApplicationShell shell(*application.model, true, true);
        shell.popover().showBeside(QRect(600, 0, 24, 24));
        benchmark::DoNotOptimize(shell.popover().grab());
        state.PauseTiming();
        shell.popover().hide();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPopoverWithFourDisplays)->Unit(benchmark::kMillisecond);

// Runs what a change left pending: layout, and the paint of the regions it marked dirty.
void flushPaint() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// One drag step on the first card: apply, publish, and paint what changed. With the displays
// kept in step (first argument 1) every card follows; without, only the dragged one. The
// second argument repaints the whole popover instead, the worst case.
void BM_SliderMoveWithSixteenDisplays(benchmark::State& state) {
    RunningApplication application(16);
    application.model->setSyncDisplays(state.range(0) != 0);
    ApplicationShell shell(*application.model, true, true);
    shell.popover().showBeside(QRect(600, 0, 24, 24));
    flushPaint();
    DisplayID first = application.model->displays().front().id;
    double level = 20;
    for (auto _ : state) {
        level = level >= 80 ? 20 : level + 0.5;
        application.model->apply(level, first);
        application.model->publish();
        if (state.range(1))
            shell.popover().repaint();
        else
            flushPaint();
    }
    state.counters["target_ms"] = 2;
}
BENCHMARK(BM_SliderMoveWithSixteenDisplays)
    ->ArgNames({"in_step", "full_repaint"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

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
        state.counters["loop_callbacks_per_s"] =
            static_cast<double>(application.desktop.loop().wakeups() - callbacks) / seconds;
        state.counters["icon_redraws"] = shell.menuBarItem()->redrawCount() - redraws;
        state.counters["rss_MiB"] = statusField("/proc/self/status", "VmRSS:") / 1024.0;
    }
}
BENCHMARK(BM_IdleApplication)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvane::app

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Paint as soon as an update is asked for, not a frame later, so that a move's paint is
    // part of the move.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
