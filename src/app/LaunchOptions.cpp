#include "app/LaunchOptions.h"

namespace corvane::app {

LaunchOptions LaunchOptions::parse(const QStringList& arguments) {
    LaunchOptions options;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (argument == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (argument == QLatin1String("--demo")) {
            if (index + 1 == arguments.size()) {
                options.error = QStringLiteral("--demo needs a folder for its screenshots");
                return options;
            }
            options.simulate = true;
            options.demoFolder = arguments[++index];
        } else {
            options.error = QStringLiteral("unknown argument: ") + argument;
            return options;
        }
    }
    return options;
}

}  // namespace corvane::app
