#include "app/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

namespace corvane::app {

InstanceClaim claimInstance(QDBusConnection bus, const QString& name) {
    if (!bus.isConnected() || !bus.interface()) return InstanceClaim::noBus;
    QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) return InstanceClaim::noBus;
    return reply.value() == QDBusConnectionInterface::ServiceRegistered ? InstanceClaim::owner
                                                                        : InstanceClaim::taken;
}

}  // namespace corvane::app
