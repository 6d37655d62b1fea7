#include <QDBusObjectPath>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/PortalShortcuts.h"
#include "support/DBusMockCalls.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

// python3-dbusmock standing in for the desktop portal's GlobalShortcuts interface.
class PortalShortcutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        connection = bus.connect(QStringLiteral("application"));
        ASSERT_TRUE(startDBusMock(portal, bus, connection, PortalShortcuts::kService,
                                  PortalShortcuts::kPath, PortalShortcuts::kInterface))
            << "the portal mock did not come up (is python3-dbusmock installed?)";
        ASSERT_TRUE(mock(PortalShortcuts::kPath, "AddMethod",
                         {QStringLiteral("org.freedesktop.host.portal.Registry"), "Register",
                          "sa{sv}", "", ""}));
        const QString returnRequest =
            QStringLiteral("ret = dbus.ObjectPath('/org/freedesktop/portal/desktop/request/x/y')");
        for (const auto& [method, signature] :
             {std::pair{"CreateSession", "a{sv}"}, std::pair{"BindShortcuts", "oa(sa{sv})sa{sv}"}})
            ASSERT_TRUE(mock(PortalShortcuts::kPath, "AddMethod",
                             {PortalShortcuts::kInterface, method, signature, "o", returnRequest}));
    }
    void TearDown() override { corvane::testing::stopProcess(portal); }

    ::testing::AssertionResult mock(const QString& path, const char* method,
                                    const QVariantList& arguments) {
        return replied(callMock(connection, PortalShortcuts::kService, path, method, arguments));
    }
    int calls(const char* method) {
        const QDBusMessage reply = callMock(connection, PortalShortcuts::kService,
                                            PortalShortcuts::kPath, "GetMethodCalls", {method});
        return replied(reply) ? int(corvane::testing::recordedCalls(reply).size()) : -1;
    }
    ::testing::AssertionResult activate(const QString& session, const QString& shortcut) {
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
    runFor(std::chrono::milliseconds(200));
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
