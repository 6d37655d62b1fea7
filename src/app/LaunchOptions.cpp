#include "app/LaunchOptions.h"

#include <QCommandLineParser>
#include <cmath>

#include "model/BrightnessPreset.h"

namespace corvane::app {
namespace {

using Kind = RemoteCommand::Kind;

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption simulate{QStringLiteral("simulate"),
                                QStringLiteral("Run on a simulated desktop.")};
    QCommandLineOption demo{QStringLiteral("demo"),
                            QStringLiteral("Run the scripted demonstration, saving its "
                                           "screenshots into FOLDER, then quit."),
                            QStringLiteral("FOLDER")};
    QCommandLineOption step{QStringLiteral("step"),
                            QStringLiteral("Step the focus display's brightness, as the "
                                           "brightness keys do."),
                            QStringLiteral("up|down")};
    QCommandLineOption fine{QStringLiteral("fine"),
                            QStringLiteral("With --step: the small step (1 instead of 6.25).")};
    QCommandLineOption set{QStringLiteral("set"),
                           QStringLiteral("Set a display's brightness, 0 to 100."),
                           QStringLiteral("PERCENT")};
    QCommandLineOption display{QStringLiteral("display"),
                               QStringLiteral("With --set: the display (as --list shows it); "
                                              "the focus display without it."),
                               QStringLiteral("UUID")};
    QCommandLineOption preset{QStringLiteral("preset"),
                              QStringLiteral("Apply a preset: sdr, nits1000, peak or restore."),
                              QStringLiteral("NAME")};
    QCommandLineOption list{QStringLiteral("list"),
                            QStringLiteral("List the displays and their levels.")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("With --list: as JSON.")};
    QCommandLineOption show{QStringLiteral("show"),
                            QStringLiteral("Open the popover, starting the application if it "
                                           "is not running.")};
    QCommandLineOption quit{QStringLiteral("quit"),
                            QStringLiteral("Quit the running application.")};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(
            QStringLiteral("Brightness of every display from the tray. A command (--step, "
                           "--set, --preset, --list, --show, --quit) is handed to the running "
                           "instance."));
        parser.addOptions({help, version, simulate, demo, step, fine, set, display, preset, list,
                           json, show, quit});
    }
};

// Reads the command options into `options.command`; an error when they do not fit together.
QString readCommand(const QCommandLineParser& parser, const Options& o, RemoteCommand& command) {
    const std::pair<const QCommandLineOption*, Kind> kinds[] = {
        {&o.step, Kind::step}, {&o.set, Kind::set},   {&o.preset, Kind::preset},
        {&o.list, Kind::list}, {&o.show, Kind::show}, {&o.quit, Kind::quit}};
    for (const auto& [option, kind] : kinds) {
        if (!parser.isSet(*option)) continue;
        if (command.kind != Kind::none) return QStringLiteral("give one command at a time");
        command.kind = kind;
    }
    if (parser.isSet(o.fine) && command.kind != Kind::step)
        return QStringLiteral("--fine goes with --step");
    if (parser.isSet(o.display) && command.kind != Kind::set)
        return QStringLiteral("--display goes with --set");
    if (parser.isSet(o.json) && command.kind != Kind::list)
        return QStringLiteral("--json goes with --list");
    switch (command.kind) {
        case Kind::step:
            command.direction = parser.value(o.step);
            command.fine = parser.isSet(o.fine);
            if (command.direction != QLatin1String("up") &&
                command.direction != QLatin1String("down"))
                return QStringLiteral("--step takes up or down");
            break;
        case Kind::set: {
            bool number = false;
            command.percent = parser.value(o.set).toDouble(&number);
            if (!number || !std::isfinite(command.percent))
                return QStringLiteral("--set takes a number from 0 to 100");
            command.uuid = parser.value(o.display);
            break;
        }
        case Kind::preset:
            command.preset = parser.value(o.preset);
            if (!brightnessPresetFromRawValue(command.preset.toStdString()))
                return QStringLiteral("--preset takes sdr, nits1000, peak or restore");
            break;
        case Kind::list:
            command.json = parser.isSet(o.json);
            break;
        case Kind::none:
        case Kind::show:
        case Kind::quit:
            break;
    }
    return {};
}

}  // namespace

LaunchOptions LaunchOptions::parse(const QStringList& arguments) {
    Options o;
    QCommandLineParser parser;
    o.addTo(parser);
    LaunchOptions options;
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = QStringLiteral("unexpected argument: ") + parser.positionalArguments()[0];
        return options;
    }
    options.help = parser.isSet(o.help);
    options.version = parser.isSet(o.version);
    options.simulate = parser.isSet(o.simulate) || parser.isSet(o.demo);
    if (parser.isSet(o.demo)) options.demoFolder = parser.value(o.demo);
    options.error = readCommand(parser, o, options.command);
    if (options.error.isEmpty() && options.demoFolder && options.command.kind != Kind::none)
        options.error = QStringLiteral("--demo runs on its own, without a command");
    return options;
}

QString LaunchOptions::usage() {
    Options o;
    QCommandLineParser parser;
    o.addTo(parser);
    return parser.helpText();
}

bool LaunchOptions::startsApplication() const {
    return error.isEmpty() && !help && !version &&
           (command.kind == Kind::none || command.kind == Kind::show);
}

}  // namespace corvane::app
