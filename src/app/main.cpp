#include <QApplication>
#include <QTextStream>
#include <iostream>

#include "app/ApplicationInfo.h"
#include "app/CorvaneApplication.h"
#include "app/DisplayBusService.h"
#include "app/LaunchOptions.h"
#include "app/QtDiagnosticSink.h"
#include "app/RemoteClient.h"
#include "app/SingleInstance.h"
#include "app/UnixSignalQuit.h"

namespace {

using namespace corvane::app;

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index) arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

// Help, version, usage errors and commands for the running instance: no window system needed.
int runWithoutWindows(int argc, char** argv, const LaunchOptions& options) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!options.error.isEmpty()) {
        err << "corvane-display: " << options.error << "\n\n" << LaunchOptions::usage();
        return kCommandUsage;
    }
    if (options.help) {
        out << LaunchOptions::usage();
        return kCommandDone;
    }
    if (options.version) {
        out << "corvane-display " << corvane::application_info::kShortVersion << " ("
            << corvane::application_info::kBuildVersion << ")\n";
        return kCommandDone;
    }
    return runRemoteCommand(options.command, QDBusConnection::sessionBus(), out, err);
}

// Where this launch stands: the session's one instance (owning the name on `bus`), a second
// launch that asked the running instance to open its popover (`handedOver`, with its exit
// status), or an instance without a bus. The demonstration runs on its own, beside any instance.
struct InstanceRole {
    std::optional<QDBusConnection> bus;
    std::optional<int> handedOver;
};

InstanceRole claimSessionInstance(const LaunchOptions& options) {
    if (options.demoFolder) return {};
    QDBusConnection bus = QDBusConnection::sessionBus();
    switch (claimInstance(bus, DisplayBusService::kServiceName)) {
        case InstanceClaim::owner:
            return {bus, std::nullopt};
        case InstanceClaim::taken: {
            QTextStream out(stdout);
            QTextStream err(stderr);
            RemoteCommand show;
            show.kind = RemoteCommand::Kind::show;
            return {std::nullopt, runRemoteCommand(show, bus, out, err)};
        }
        case InstanceClaim::noBus:
            break;
    }
    std::cerr << "corvane-display: no session bus; another copy of Corvane Display may run "
                 "beside this one\n";
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    LaunchOptions options = LaunchOptions::parse(argumentList(argc, argv));
    if (!options.startsApplication()) return runWithoutWindows(argc, argv, options);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane Display"));
    InstanceRole instance = claimSessionInstance(options);
    if (instance.handedOver) return *instance.handedOver;
    // Installed for the rest of the process: the last preference write and the monitors'
    // workers may still report after the event loop has ended.
    corvane::installDiagnosticSink(new corvane::app::QtDiagnosticSink);
    corvane::app::quitOnTerminationSignals();
    corvane::app::CorvaneApplication corvane(options, instance.bus);
    return QApplication::exec();
}
