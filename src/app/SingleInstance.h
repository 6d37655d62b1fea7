#pragma once

#include <QDBusConnection>
#include <QString>

namespace corvane::app {

// Whether this process became the session's one instance.
enum class InstanceClaim {
    owner,  // this process owns the name: it is the instance
    taken,  // another process owns it
    noBus,  // no session bus: nothing can be guaranteed
};

// Asks the bus for `name`, without queueing for it and without letting a later process take it.
InstanceClaim claimInstance(QDBusConnection bus, const QString& name);

}  // namespace corvane::app
