#include <QApplication>
#include <iostream>

#include "app/CorvaneApplication.h"
#include "app/LaunchOptions.h"
#include "app/QtDiagnosticSink.h"
#include "app/UnixSignalQuit.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Display"));
    corvane::app::LaunchOptions options =
        corvane::app::LaunchOptions::parse(QApplication::arguments());
    if (!options.error.isEmpty()) {
        std::cerr << "corvane-display: " << options.error.toStdString()
                  << "\nusage: corvane-display [--simulate] [--demo FOLDER]\n";
        return 2;
    }
    corvane::app::QtDiagnosticSink diagnostics;
    corvane::installDiagnosticSink(&diagnostics);
    corvane::app::quitOnTerminationSignals();
    corvane::app::CorvaneApplication corvane(options);
    const int status = QApplication::exec();
    corvane::installDiagnosticSink(nullptr);
    return status;
}
