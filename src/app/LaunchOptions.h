#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace corvane::app {

// What the command line asks for.
struct LaunchOptions {
    // Run on the simulated desktop and show the virtual displays window.
    bool simulate = false;
    // Run the scripted demonstration, saving its screenshots into this folder, then quit.
    std::optional<QString> demoFolder;
    // Why the command line could not be read; empty when it could.
    QString error;

    static LaunchOptions parse(const QStringList& arguments);
};

}  // namespace corvane::app
