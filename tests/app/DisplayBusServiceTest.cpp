#include <QDBusArgument>
#include <QDBusPendingCall>
#include <tuple>

#include "app/AppTestSupport.h"
#include "app/DisplayBusService.h"
#include "support/ModelFixture.h"

namespace corvane::app {
namespace {

using namespace corvane::app::testing;

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The service on a private bus, called from a second connection as another process would.
class DisplayBusServiceTest : public corvane::testing::ModelFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        desktop.add(sim::SimDisplayConfig::builtinPanel("Panel", 0.5));
        monitor = desktop.add(sim::SimDisplayConfig::gammaOnlyMonitor("Monitor"));
        startModel();
        service = std::make_unique<DisplayBusService>(
            *model, ShellActions{[this] { ++shows; }, [this] { ++closes; }, [this] { ++quits; }});
        server = bus.connect(QStringLiteral("server"));
        ASSERT_TRUE(service->exportOn(server));
        ASSERT_TRUE(server.registerService(DisplayBusService::kServiceName));
        client = bus.connect(QStringLiteral("client"));
    }

    QDBusMessage callOn(const QString& interface, const QString& method,
                        const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            DisplayBusService::kServiceName, DisplayBusService::kObjectPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(message);
        EXPECT_TRUE(waitUntil([&] { return pending.isFinished(); }));
        return pending.reply();
    }
    QDBusMessage call(const QString& method, const QVariantList& arguments = {}) {
        return callOn(DisplayBusService::kInterface, method, arguments);
    }
    QDBusMessage property(const QString& method, const QVariantList& arguments) {
        return callOn(kProperties, method, QVariantList{DisplayBusService::kInterface} + arguments);
    }
    const DisplaySnapshot& snapshot(DisplayID id) {
        return *std::find_if(model->displays().begin(), model->displays().end(),
                             [&](const DisplaySnapshot& display) { return display.id == id; });
    }
    static void expectRefused(const QDBusMessage& reply) {
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
        EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
        EXPECT_FALSE(reply.errorMessage().isEmpty());
    }

    PrivateSessionBus bus;
    QDBusConnection server{QString()};
    QDBusConnection client{QString()};
    std::unique_ptr<DisplayBusService> service;
    DisplayID monitor = 0;
    int shows = 0, closes = 0, quits = 0;
};

// The methods reaching the model are checked on the running program (CommandLineTest); which
// requests are refused, and that they change nothing, is RemoteCommandsTest's.
TEST_F(DisplayBusServiceTest, RefusalsAreInvalidArgumentErrorsAndWindowRequestsGoToTheShell) {
    expectRefused(call("SetLevel", {QStringLiteral("no-such-display"), 10.0}));
    expectRefused(call("ApplyPreset", {QStringLiteral("brightest")}));
    expectRefused(call("Step", {QStringLiteral("left"), false}));
    // The wrong argument types never reach the model.
    EXPECT_EQ(call("SetLevel", {QStringLiteral("x"), QStringLiteral("50")}).type(),
              QDBusMessage::ErrorMessage);

    EXPECT_TRUE(replied(call("ShowPopover")));
    EXPECT_TRUE(replied(call("ClosePopover")));
    EXPECT_TRUE(replied(call("Quit")));
    EXPECT_EQ(std::tie(shows, closes, quits), std::make_tuple(1, 1, 1));
}

TEST_F(DisplayBusServiceTest, ListDisplaysCarriesEveryPublishedField) {
    model->apply(40, monitor);
    model->publish();
    QDBusMessage reply = call("ListDisplays");
    ASSERT_TRUE(replied(reply));
    const auto records = qdbus_cast<QList<QVariantMap>>(reply.arguments().at(0));
    ASSERT_EQ(records.size(), 2);
    for (const QVariantMap& record : records) {
        const DisplaySnapshot& display = snapshot(record.value("id").toUInt());
        EXPECT_EQ(record.value("uuid").toString().toStdString(), display.uuid);
        EXPECT_EQ(record.value("name").toString().toStdString(), display.name);
        EXPECT_EQ(record.value("isBuiltin").toBool(), display.isBuiltin);
        EXPECT_EQ(record.value("isMain").toBool(), display.isMain);
        EXPECT_EQ(record.value("supportsXDR").toBool(), display.supportsXDR);
        EXPECT_EQ(record.value("path").toString().toStdString(), rawValue(display.path));
        EXPECT_DOUBLE_EQ(record.value("percent").toDouble(), display.percent);
        EXPECT_EQ(record.value("sdrNits").toInt(), display.sdrNits);
        EXPECT_EQ(record.value("peakNits").toInt(), display.peakNits);
        EXPECT_DOUBLE_EQ(record.value("sdrPercent").toDouble(), display.sdrPercent);
        EXPECT_EQ(record.contains("estimatedNits"), display.estimatedNits.has_value());
    }
}

TEST_F(DisplayBusServiceTest, SettingsArePropertiesAndChangesAreAnnouncedOnce) {
    corvane::testing::SignalRecorder properties;
    corvane::testing::SignalRecorder displays;
    ASSERT_TRUE(client.connect(DisplayBusService::kServiceName, DisplayBusService::kObjectPath,
                               kProperties, QStringLiteral("PropertiesChanged"), &properties,
                               SLOT(record(QDBusMessage))));
    ASSERT_TRUE(client.connect(DisplayBusService::kServiceName, DisplayBusService::kObjectPath,
                               DisplayBusService::kInterface, QStringLiteral("DisplaysChanged"),
                               &displays, SLOT(record(QDBusMessage))));

    QDBusMessage get = property(QStringLiteral("Get"), {QStringLiteral("ShowMenuPercent")});
    ASSERT_TRUE(replied(get));
    EXPECT_TRUE(get.arguments().at(0).value<QDBusVariant>().variant().toBool());
    QDBusMessage all = property(QStringLiteral("GetAll"), {});
    ASSERT_TRUE(replied(all));
    EXPECT_EQ(qdbus_cast<QVariantMap>(all.arguments().at(0)).keys(),
              (QStringList{"LimitOnBattery", "ShowMenuNits", "ShowMenuPercent", "SyncDisplays"}));

    // Written over the bus, and in the popover: each change is announced with its new value.
    EXPECT_TRUE(
        replied(property(QStringLiteral("Set"), {QStringLiteral("SyncDisplays"),
                                                 QVariant::fromValue(QDBusVariant(true))})));
    EXPECT_TRUE(model->syncDisplays());
    EXPECT_EQ(stored("corvane.syncDisplays"), PropertyValue(true));
    model->setShowMenuNits(true);
    model->setShowMenuNits(true);
    model->setLimitOnBattery(false);
    ASSERT_TRUE(waitUntil([&] { return properties.messages.size() >= 2; }));
    runFor(std::chrono::milliseconds(100));
    ASSERT_EQ(properties.messages.size(), 2);
    const auto changed = [&](int index) {
        const QList<QVariant> arguments = properties.messages[index].arguments();
        EXPECT_EQ(arguments.at(0).toString(), DisplayBusService::kInterface);
        return qdbus_cast<QVariantMap>(arguments.at(1));
    };
    EXPECT_EQ(changed(0), (QVariantMap{{"SyncDisplays", true}}));
    EXPECT_EQ(changed(1), (QVariantMap{{"ShowMenuNits", true}}));

    // A publication that changes a display is announced; one that changes nothing is not.
    model->publish();
    model->apply(20, monitor);
    model->publish();
    model->publish();
    ASSERT_TRUE(waitUntil([&] { return !displays.messages.isEmpty(); }));
    runFor(std::chrono::milliseconds(100));
    ASSERT_EQ(displays.messages.size(), 1);
    const auto records = qdbus_cast<QList<QVariantMap>>(displays.messages[0].arguments().at(0));
    EXPECT_EQ(records.size(), 2);
}

}  // namespace
}  // namespace corvane::app
