#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <vector>

#include "app/PortalShortcuts.h"
#include "support/DBusMockCalls.h"
#include "support/PrivateSessionBus.h"

namespace corvane::app {
namespace {

using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

// python3-dbusmock standing in for the desktop portal's GlobalShortcuts interface.
class PortalShortcutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        portal.setProcessEnvironment(bus.environment(QStringLiteral("/nonexistent")));
        portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        portal.start(
            QStringLiteral("timeout"),
            {"120", "/usr/bin/python3", "-m", "dbusmock", "--session", PortalShortcuts::kService,
             PortalShortcuts::kPath, PortalShortcuts::kInterface});
        ASSERT_TRUE(portal.waitForStarted(10000));
        connection = bus.connect(QStringLiteral("application"));
        ASSERT_TRUE(waitUntil(
            [&] {
                return connection.interface()
                    ->isServiceRegistered(PortalShortcuts::kService)
                    .value();
            },
            std::chrono::seconds(20)))
            << "the portal mock did not come up (is python3-dbusmock installed?)";
        ASSERT_TRUE(mock(PortalShortcuts::kPath, "AddMethod",
                         {QStringLiteral("org.freedesktop.host.portal.Registry"), "Register",
                          "sa{sv}", "", ""}));
        const QString requestPath = QStringLiteral("'/org/freedesktop/portal/desktop/request/x/y'");
        for (const char* method : {"CreateSession", "BindShortcuts"}) {
            const QString signature = QLatin1String(method) == QLatin1String("CreateSession")
                                          ? QStringLiteral("a{sv}")
                                          : QStringLiteral("oa(sa{sv})sa{sv}");
            ASSERT_TRUE(mock(PortalShortcuts::kPath, "AddMethod",
                             {PortalShortcuts::kInterface, QLatin1String(method), signature,
                              QStringLiteral("o"), "ret = dbus.ObjectPath(" + requestPath + ")"}));
        }
    }
    void TearDown() override { corvane::testing::stopProcess(portal); }

    bool mock(const QString& path, const char* method, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(PortalShortcuts::kService, path, kMock,
                                                           QLatin1String(method));
        call.setArguments(arguments);
        QDBusMessage reply = connection.call(call);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.type() == QDBusMessage::ReplyMessage;
    }
    int calls(const char* method) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(PortalShortcuts::kService, PortalShortcuts::kPath, kMock,
                                           QStringLiteral("GetMethodCalls"));
        call << QLatin1String(method);
        QDBusMessage reply = connection.call(call);
        if (reply.type() != QDBusMessage::ReplyMessage) return -1;
        return static_cast<int>(corvane::testing::recordedCalls(reply).size());
    }
    bool activate(const QString& session, const QString& shortcut) {
        return mock(
            PortalShortcuts::kPath, "EmitSignal",
            {PortalShortcuts::kInterface, QStringLiteral("Activated"), QStringLiteral("osta{sv}"),
             QVariantList{QVariant::fromValue(QDBusObjectPath(session)), shortcut, qulonglong(1),
                          QVariantMap()}});
    }

    PrivateSessionBus bus;
    QProcess portal;
    QDBusConnection connection{QString()};
};

TEST_F(PortalShortcutsTest, ActivationsOfTheBoundShortcutsArriveAsKeyPresses) {
    std::vector<std::pair<BrightnessKey, bool>> presses;
    PortalShortcuts shortcuts(
        connection, [&](BrightnessKey key, bool fine) { presses.emplace_back(key, fine); });
    ASSERT_TRUE(shortcuts.start());
    ASSERT_TRUE(waitUntil([&] { return calls("CreateSession") == 1; }));
    EXPECT_EQ(calls("Register"), 1);

    // The portal answers on the request object, with the session's handle.
    const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/corvane");
    ASSERT_TRUE(
        mock(PortalShortcuts::kPath, "AddObject",
             {shortcuts.createRequestPath(), QStringLiteral("org.freedesktop.portal.Request"),
              QVariantMap(), QVariantList()}));
    ASSERT_TRUE(mock(shortcuts.createRequestPath(), "EmitSignal",
                     {QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                      QStringLiteral("ua{sv}"),
                      QVariantList{uint(0), QVariantMap{{"session_handle", session}}}}));
    ASSERT_TRUE(waitUntil([&] { return calls("BindShortcuts") == 1; }));
    EXPECT_EQ(shortcuts.session(), session);

    ASSERT_TRUE(activate(session, "brightness-up"));
    ASSERT_TRUE(activate(session, "brightness-down-fine"));
    ASSERT_TRUE(activate(session, "no-such-shortcut"));
    // Another application's session is not ours.
    ASSERT_TRUE(activate(QStringLiteral("/org/freedesktop/portal/desktop/session/9_9/other"),
                         "brightness-down"));
    ASSERT_TRUE(activate(session, "brightness-up-fine"));
    ASSERT_TRUE(waitUntil([&] { return presses.size() >= 3; }));
    waitUntil([] { return false; }, std::chrono::milliseconds(200));
    const std::vector<std::pair<BrightnessKey, bool>> expected{
        {BrightnessKey::up, false}, {BrightnessKey::down, true}, {BrightnessKey::up, true}};
    EXPECT_EQ(presses, expected);
}

TEST_F(PortalShortcutsTest, WithoutThePortalNothingIsAsked) {
    PrivateSessionBus empty;
    ASSERT_TRUE(empty.start());
    PortalShortcuts shortcuts(empty.connect(QStringLiteral("alone")), [](BrightnessKey, bool) {
        ADD_FAILURE() << "a key without a portal";
    });
    EXPECT_FALSE(shortcuts.start());
}

}  // namespace
}  // namespace corvane::app
