// Benchmarks of the application shell, off screen: opening the popover, one slider move, and
// the idle application's wake-ups, icon redraws and memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
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

// One drag step on the first card: apply to every display (in step), publish, and repaint.
void BM_SliderMoveWithSixteenDisplays(benchmark::State& state) {
    RunningApplication application(16);
    application.model->setSyncDisplays(true);
    ApplicationShell shell(*application.model, true, true);
    shell.popover().showBeside(QRect(600, 0, 24, 24));
    settle();
    DisplayID first = application.model->displays().front().id;
    double level = 20;
    for (auto _ : state) {
        level = level >= 80 ? 20 : level + 0.5;
        application.model->apply(level, first);
        application.model->publish();
        if (state.range(0)) shell.popover().repaint();
    }
}
BENCHMARK(BM_SliderMoveWithSixteenDisplays)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The application with three displays and its tray item, left alone for two seconds of real
// time: how often the main loop wakes, and whether the icon is drawn again.
void BM_IdleApplication(benchmark::State& state) {
    RunningApplication application(3);
    ApplicationShell shell(*application.model, true, true);
    shell.show();
    settle();
    for (auto _ : state) {
        std::uint64_t wakeups = application.desktop.loop().wakeups();
        int redraws = shell.menuBarItem()->redrawCount();
        QElapsedTimer clock;
        clock.start();
        QEventLoop idle;
        QTimer::singleShot(2000, &idle, &QEventLoop::quit);
        idle.exec();
        double seconds = clock.elapsed() / 1000.0;
        state.counters["wakeups_per_s"] =
            static_cast<double>(application.desktop.loop().wakeups() - wakeups) / seconds;
        state.counters["icon_redraws"] = shell.menuBarItem()->redrawCount() - redraws;
        state.counters["rss_MiB"] = residentKilobytes() / 1024.0;
    }
}
BENCHMARK(BM_IdleApplication)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvane::app

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
