#pragma once

#include <QDBusConnection>
#include <QTextStream>

#include "app/LaunchOptions.h"

namespace corvane::app {

// Exit statuses of a command handed to the running instance.
inline constexpr int kCommandDone = 0;
inline constexpr int kCommandFailed = 1;  // no instance, or the instance refused it
inline constexpr int kCommandUsage = 2;  // the command line could not be read

// Hands `command` to the running instance on `bus` and prints what it answers (the display
// list) on `out`, failures on `err`. The instance may have taken its name a moment before it
// put its object on the bus: a call that finds no object yet is retried for a short while.
int runRemoteCommand(const RemoteCommand& command, const QDBusConnection& bus, QTextStream& out,
                     QTextStream& err);

}  // namespace corvane::app
