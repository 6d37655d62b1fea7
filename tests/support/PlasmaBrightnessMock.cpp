#include "support/PlasmaBrightnessMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>

#include "support/DBusMockCalls.h"

// A method of a dbusmock object as AddObject takes it: (name, in, out, code).
struct MockMethod {
    QString name, in, out, code;
};
Q_DECLARE_METATYPE(MockMethod)

QDBusArgument& operator<<(QDBusArgument& argument, const MockMethod& method) {
    argument.beginStructure();
    argument << method.name << method.in << method.out << method.code;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MockMethod& method) {
    argument.beginStructure();
    argument >> method.name >> method.in >> method.out >> method.code;
    argument.endStructure();
    return argument;
}

namespace corvane::testing {

const QString PlasmaBrightnessMock::kService = QStringLiteral("org.kde.ScreenBrightness");
const QString PlasmaBrightnessMock::kRootPath = QStringLiteral("/org/kde/ScreenBrightness");

namespace {

const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kRootInterface = QStringLiteral("org.kde.ScreenBrightness");
const QString kDisplayInterface = QStringLiteral("org.kde.ScreenBrightness.Display");

}  // namespace

bool PlasmaBrightnessMock::start(const PrivateSessionBus& bus, const QDBusConnection& connection) {
    connection_ = connection;
    qDBusRegisterMetaType<MockMethod>();
    qDBusRegisterMetaType<QList<MockMethod>>();
    process_.setProcessEnvironment(bus.environment(QStringLiteral("/nonexistent")));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("timeout"), {"120", "/usr/bin/python3", "-m", "dbusmock",
                                               "--session", kService, kRootPath, kRootInterface});
    if (!process_.waitForStarted(10000)) return false;
    return waitUntil([&] { return connection_.interface()->isServiceRegistered(kService).value(); },
                     std::chrono::seconds(20));
}

QDBusMessage PlasmaBrightnessMock::call(const QString& path, const char* method,
                                        const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, path, kMock, QLatin1String(method));
    message.setArguments(arguments);
    return connection_.call(message);
}

bool PlasmaBrightnessMock::addDisplay(const QString& name, int brightness, int max, bool internal,
                                      const QString& label) {
    const QList<MockMethod> methods{{"SetBrightness", "iu", "", ""}};
    return call(kRootPath, "AddObject",
                {path(name), kDisplayInterface,
                 QVariantMap{{"Brightness", brightness},
                             {"MaxBrightness", max},
                             {"IsInternal", internal},
                             {"Label", label}},
                 QVariant::fromValue(methods)})
               .type() == QDBusMessage::ReplyMessage;
}

bool PlasmaBrightnessMock::listDisplays(const QStringList& names) {
    const char* method = listed_ ? "UpdateProperties" : "AddProperty";
    const QVariantList arguments =
        listed_ ? QVariantList{kRootInterface, QVariantMap{{"DisplaysDBusNames", names}}}
                : QVariantList{kRootInterface, "DisplaysDBusNames", names};
    listed_ = true;
    return call(kRootPath, method, arguments).type() == QDBusMessage::ReplyMessage;
}

bool PlasmaBrightnessMock::update(const QString& name, const QVariantMap& properties) {
    return call(path(name), "UpdateProperties", {kDisplayInterface, properties}).type() ==
           QDBusMessage::ReplyMessage;
}

QList<QVariantList> PlasmaBrightnessMock::setCalls(const QString& name) {
    return recordedCalls(call(path(name), "GetMethodCalls", {QStringLiteral("SetBrightness")}));
}

}  // namespace corvane::testing
