#include "app/RemoteClient.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include "app/DisplayBusService.h"

namespace corvane::app {
namespace {

using Kind = RemoteCommand::Kind;

constexpr int kObjectWaitMs = 3000;
constexpr int kRetryMs = 50;

QDBusMessage request(const RemoteCommand& command) {
    auto call = [](const char* method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            DisplayBusService::kServiceName, DisplayBusService::kObjectPath,
            DisplayBusService::kInterface, QString::fromLatin1(method));
        message.setArguments(arguments);
        return message;
    };
    switch (command.kind) {
        case Kind::step: return call("Step", {command.direction, command.fine});
        case Kind::set: return call("SetLevel", {command.uuid, command.percent});
        case Kind::preset: return call("ApplyPreset", {command.preset});
        case Kind::list: return call("ListDisplays");
        case Kind::quit: return call("Quit");
        case Kind::none:
        case Kind::show: break;
    }
    return call("ShowPopover");
}

QDBusMessage callInstance(const QDBusConnection& bus, const QDBusMessage& message) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QDBusMessage reply = bus.call(message);
        const bool notThereYet = reply.type() == QDBusMessage::ErrorMessage &&
                                 (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error."
                                                                     "UnknownObject") ||
                                  reply.errorName() == QLatin1String("org.freedesktop.DBus.Error."
                                                                     "UnknownMethod"));
        if (!notThereYet || clock.elapsed() > kObjectWaitMs) return reply;
        QThread::msleep(kRetryMs);
    }
}

void printList(const QList<QVariantMap>& displays, bool json, QTextStream& out) {
    if (json) {
        QJsonArray array;
        for (const QVariantMap& display : displays) array.append(QJsonObject::fromVariantMap(display));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return;
    }
    for (const QVariantMap& display : displays) {
        out << display.value(QStringLiteral("uuid")).toString() << '\t'
            << QString::number(display.value(QStringLiteral("percent")).toDouble(), 'f', 1) << '\t'
            << display.value(QStringLiteral("path")).toString() << '\t'
            << display.value(QStringLiteral("name")).toString() << '\n';
    }
}

}  // namespace

int runRemoteCommand(const RemoteCommand& command, const QDBusConnection& bus, QTextStream& out,
                     QTextStream& err) {
    if (!bus.isConnected() || !bus.interface()) {
        err << "corvane-display: no session bus, so no running instance to ask\n";
        return kCommandFailed;
    }
    if (!bus.interface()->isServiceRegistered(DisplayBusService::kServiceName).value()) {
        err << "corvane-display: Corvane Display is not running\n";
        return kCommandFailed;
    }
    qDBusRegisterMetaType<QList<QVariantMap>>();
    QDBusMessage reply = callInstance(bus, request(command));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        err << "corvane-display: " << reply.errorMessage() << '\n';
        return kCommandFailed;
    }
    if (command.kind == Kind::list) {
        QDBusReply<QList<QVariantMap>> displays(reply);
        printList(displays.value(), command.json, out);
    }
    return kCommandDone;
}

}  // namespace corvane::app
