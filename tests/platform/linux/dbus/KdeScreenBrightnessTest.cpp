#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <array>
#include <map>

#include "ddc/DDCProtocol.h"
#include "platform/linux/dbus/KdeBrightnessRouting.h"
#include "platform/linux/dbus/KdeScreenBrightness.h"
#include "support/PrivateSessionBus.h"

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

namespace corvane::linux_desktop {
namespace {

using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kPanelPath = QStringLiteral("/org/kde/ScreenBrightness/display0");
const QString kMonitorPath = QStringLiteral("/org/kde/ScreenBrightness/display1");
constexpr DisplayID kPanel = 1;
constexpr DisplayID kMonitor = 2;

// The DDC/CI walk of one external monitor, "DELL U2720Q": its pipe, then its bus entry.
class OneMonitorRegistry final : public IORegistry {
  public:
    static constexpr RegistryEntryID kPipe = 1;
    static constexpr RegistryEntryID kBus = 2;

    std::unique_ptr<RegistryIterator> iterateRecursively(std::string_view) override {
        struct Walk final : RegistryIterator {
            RegistryEntryID at = 0;
            RegistryEntryID next() override { return at < kBus ? ++at : 0; }
        };
        return std::make_unique<Walk>();
    }
    std::string className(RegistryEntryID entry) override {
        return entry == kPipe ? "AppleCLCD2" : "DCPAVServiceProxy";
    }
    std::optional<PropertyValue> property(RegistryEntryID entry, std::string_view key) override {
        if (entry == kPipe && key == "DisplayAttributes")
            return PropertyValue(Dictionary{
                {"ProductAttributes", Dictionary{{"ProductName", std::string("DELL U2720Q")}}}});
        return std::nullopt;
    }
};

// The raw i2c-dev side, which must stay untouched for the displays Plasma drives.
struct RawBus final : AVService {};

// python3-dbusmock serving Plasma's org.kde.ScreenBrightness: a built-in panel (300 of 1200)
// and the monitor (50 of 100), both accepting SetBrightness.
class KdeScreenBrightnessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(bus.start()) << bus.error().toStdString();
        plasma.setProcessEnvironment(bus.environment(QStringLiteral("/nonexistent")));
        plasma.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        plasma.start(QStringLiteral("timeout"),
                     {"120", "/usr/bin/python3", "-m", "dbusmock", "--session",
                      KdeScreenBrightness::kService, KdeScreenBrightness::kRootPath,
                      KdeScreenBrightness::kRootInterface});
        ASSERT_TRUE(plasma.waitForStarted(10000));
        connection = bus.connect(QStringLiteral("application"));
        ASSERT_TRUE(waitUntil(
            [&] {
                return connection.interface()
                    ->isServiceRegistered(KdeScreenBrightness::kService)
                    .value();
            },
            std::chrono::seconds(20)))
            << "the Plasma mock did not come up (is python3-dbusmock installed?)";
        ASSERT_TRUE(mock(KdeScreenBrightness::kRootPath, "AddProperty",
                         {KdeScreenBrightness::kRootInterface, "DisplaysDBusNames",
                          QStringList{"display0", "display1"}}));
        addDisplay(kPanelPath, 300, 1200, true, "Built-in Screen");
        addDisplay(kMonitorPath, 50, 100, false, "Dell U2720Q");
    }
    void TearDown() override {
        corvane::testing::stopProcess(plasma);
    }

    bool mock(const QString& path, const char* method, const QVariantList& arguments) {
        QDBusInterface object(KdeScreenBrightness::kService, path, kMock, connection);
        QDBusMessage reply =
            object.callWithArgumentList(QDBus::Block, QLatin1String(method), arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.type() == QDBusMessage::ReplyMessage;
    }
    void addDisplay(const QString& path, int brightness, int max, bool internal,
                    const QString& label) {
        qDBusRegisterMetaType<MockMethod>();
        qDBusRegisterMetaType<QList<MockMethod>>();
        const QList<MockMethod> methods{{"SetBrightness", "iu", "", ""}};
        ASSERT_TRUE(mock(KdeScreenBrightness::kRootPath, "AddObject",
                         {path, KdeScreenBrightness::kDisplayInterface,
                          QVariantMap{{"Brightness", brightness},
                                      {"MaxBrightness", max},
                                      {"IsInternal", internal},
                                      {"Label", label}},
                          QVariant::fromValue(methods)}));
    }
    QList<QVariantList> setCalls(const QString& path) {
        QDBusInterface object(KdeScreenBrightness::kService, path, kMock, connection);
        QDBusMessage reply =
            object.call(QDBus::Block, QStringLiteral("GetMethodCalls"), "SetBrightness");
        QList<QVariantList> calls;
        if (reply.type() != QDBusMessage::ReplyMessage) return calls;
        const QDBusArgument list = reply.arguments().front().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            qulonglong time = 0;
            QVariantList arguments;
            list.beginStructure();
            list >> time >> arguments;
            list.endStructure();
            calls.push_back(arguments);
        }
        list.endArray();
        return calls;
    }

    PrivateSessionBus bus;
    QProcess plasma;
    QDBusConnection connection{QString()};
};

TEST_F(KdeScreenBrightnessTest, PlasmasDisplaysAreDrivenThroughItAndItsChangesAreSeen) {
    KdeScreenBrightness kde(connection);
    ASSERT_TRUE(kde.isPresent());
    ASSERT_NE(kde.internalDisplay(), nullptr);
    EXPECT_EQ(kde.internalDisplay()->brightness(), 300);
    EXPECT_EQ(kde.externalDisplayNamed("DELL U2720Q"), kde.displays()[1]);
    EXPECT_EQ(kde.externalDisplayNamed("LG HDR 4K"), nullptr);

    OneMonitorRegistry walk;
    int rawOpens = 0, rawTransfers = 0;
    KdeDdcRegistry registry(
        walk,
        [&](RegistryEntryID) {
            ++rawOpens;
            return std::make_shared<RawBus>();
        },
        kde);
    PrivateDisplayFunctions raw;
    raw.readI2C = [&](AVService&, std::uint32_t, std::uint32_t, std::span<std::uint8_t>) {
        return ++rawTransfers, 0;
    };
    raw.writeI2C = [&](AVService&, std::uint32_t, std::uint32_t, std::span<const std::uint8_t>) {
        return ++rawTransfers, 0;
    };
    PrivateDisplayFunctions functions =
        kdeAwareFunctions(raw, kde, registry, [](DisplayID id) { return id == kPanel; });

    // The built-in panel: its backlight is Plasma's level.
    float level = -1;
    ASSERT_EQ(functions.getBrightness(kPanel, &level), 0);
    EXPECT_FLOAT_EQ(level, 0.25f);
    EXPECT_NE(functions.getBrightness(kMonitor, &level), 0);
    EXPECT_EQ(functions.setBrightness(kPanel, 0.5f), 0);
    ASSERT_TRUE(waitUntil([&] { return setCalls(kPanelPath).size() == 1; }));
    EXPECT_EQ(setCalls(kPanelPath)[0], (QVariantList{600, 1u}));

    // The monitor: DDC/CI requests answered and carried out by Plasma, no bus opened.
    std::unique_ptr<RegistryIterator> entries = registry.iterateRecursively("IOService");
    ASSERT_EQ(entries->next(), OneMonitorRegistry::kPipe);
    ASSERT_EQ(entries->next(), OneMonitorRegistry::kBus);
    AVServiceHandle monitor = functions.createAVService(OneMonitorRegistry::kBus);
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(rawOpens, 0);
    using namespace DDCProtocol;
    const std::vector<std::uint8_t> ask = wrap({0x10});
    ASSERT_EQ(functions.writeI2C(*monitor, kChipAddress, kDataAddress, ask), 0);
    std::array<std::uint8_t, kReplyLength> reply{};
    ASSERT_EQ(functions.readI2C(*monitor, kChipAddress, 0, reply), 0);
    EXPECT_EQ(reply[2], kReplyOpcode);
    EXPECT_EQ(reply[4], 0x10);
    EXPECT_EQ((reply[6] << 8) | reply[7], 100);
    EXPECT_EQ((reply[8] << 8) | reply[9], 50);
    // A reply without a request, and other controls than brightness, are refused.
    EXPECT_NE(functions.readI2C(*monitor, kChipAddress, 0, reply), 0);
    EXPECT_NE(functions.writeI2C(*monitor, kChipAddress, kDataAddress, wrap({0x12, 0, 40})), 0);
    // The core sends each setting twice; Plasma hears it once.
    const std::vector<std::uint8_t> set = wrap({0x10, 0, 70});
    EXPECT_EQ(functions.writeI2C(*monitor, kChipAddress, kDataAddress, set), 0);
    EXPECT_EQ(functions.writeI2C(*monitor, kChipAddress, kDataAddress, set), 0);
    ASSERT_TRUE(waitUntil([&] { return !setCalls(kMonitorPath).isEmpty(); }));
    waitUntil([] { return false; }, std::chrono::milliseconds(200));
    ASSERT_EQ(setCalls(kMonitorPath).size(), 1);
    EXPECT_EQ(setCalls(kMonitorPath)[0], (QVariantList{70, 1u}));
    EXPECT_EQ(rawTransfers, 0);

    // A change made in Plasma (its slider, its keys) is the level the next poll reads.
    ASSERT_TRUE(mock(kPanelPath, "UpdateProperties",
                     {KdeScreenBrightness::kDisplayInterface, QVariantMap{{"Brightness", 900}}}));
    EXPECT_TRUE(waitUntil([&] {
        return functions.getBrightness(kPanel, &level) == 0 && level == 0.75f;
    }));

    // Plasma going away hands the displays back to the raw paths.
    corvane::testing::stopProcess(plasma);
    ASSERT_TRUE(waitUntil([&] { return !kde.isPresent(); }));
    EXPECT_NE(functions.getBrightness(kPanel, &level), 0);
    registry.iterateRecursively("IOService");
    EXPECT_NE(functions.createAVService(OneMonitorRegistry::kBus), nullptr);
    EXPECT_EQ(rawOpens, 1);
}

TEST_F(KdeScreenBrightnessTest, AMonitorThatCannotBePairedIsNotWrittenWhilePlasmaDrivesMonitors) {
    addDisplay(QStringLiteral("/org/kde/ScreenBrightness/display2"), 20, 100, false,
               "Dell U2720Q");
    ASSERT_TRUE(mock(KdeScreenBrightness::kRootPath, "UpdateProperties",
                     {KdeScreenBrightness::kRootInterface,
                      QVariantMap{{"DisplaysDBusNames",
                                   QStringList{"display0", "display1", "display2"}}}}));
    KdeScreenBrightness kde(connection);
    EXPECT_EQ(kde.displays().size(), 3u);
    EXPECT_EQ(kde.externalDisplayNamed("DELL U2720Q"), nullptr);

    // Two Plasma monitors fit the name: this one is neither Plasma's nor ours to write.
    OneMonitorRegistry walk;
    int rawOpens = 0;
    KdeDdcRegistry registry(
        walk,
        [&](RegistryEntryID) {
            ++rawOpens;
            return std::make_shared<RawBus>();
        },
        kde);
    registry.iterateRecursively("IOService");
    EXPECT_EQ(registry.createAVService(OneMonitorRegistry::kBus), nullptr);
    EXPECT_EQ(rawOpens, 0);
}

}  // namespace
}  // namespace corvane::linux_desktop
