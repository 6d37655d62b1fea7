#include <benchmark/benchmark.h>

#include <QApplication>

#include "Verdicts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Paint as soon as an update is asked for, not a frame later, so that a move's paint is
    // part of the move.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return corvane::bench::printVerdicts() ? 0 : 1;
}
