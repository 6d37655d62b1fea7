#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace corvane::app {

// A request for the running instance, given on the command line.
struct RemoteCommand {
    enum class Kind { none, step, set, preset, list, show, quit };

    Kind kind = Kind::none;
    QString direction;  // step: "up" or "down"
    bool fine = false;  // step: the small step
    double percent = 0;  // set
    QString uuid;  // set: the display, empty for the focus display
    QString preset;  // preset: its name
    bool json = false;  // list: as JSON
};

// What the command line asks for.
struct LaunchOptions {
    // Run on the simulated desktop and show the virtual displays window.
    bool simulate = false;
    // Run the scripted demonstration, saving its screenshots into this folder, then quit.
    std::optional<QString> demoFolder;
    bool help = false;
    bool version = false;
    RemoteCommand command;
    // Why the command line could not be read; empty when it could.
    QString error;

    // Reads the arguments (the program's name first). Needs no application object.
    static LaunchOptions parse(const QStringList& arguments);
    // The options and commands, as --help prints them. Needs an application object.
    static QString usage();

    // Whether this launch runs the application (rather than printing something or handing a
    // command to the running instance).
    bool startsApplication() const;
};

}  // namespace corvane::app
