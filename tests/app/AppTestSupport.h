#pragma once

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <memory>

#include "hud/BrightnessHUD.h"
#include "model/AppModel.h"
#include "platform/linux/FakeSysfs.h"
#include "support/PrivateSessionBus.h"

// Set-up shared by the application's tests: a model made as the application makes it, the
// fake laptop of the Linux tests, and python3-dbusmock standing in for a desktop service.
namespace corvane::app::testing {

using corvane::testing::PrivateSessionBus;
using corvane::testing::waitUntil;

// Lets the event loop run for `time`, for what must not happen meanwhile.
inline void runFor(std::chrono::milliseconds time) {
    waitUntil([] { return false; }, time);
}

// A model with its indicator on a desktop's platform, neither started.
struct ModelOnDesktop {
    template <typename Desktop>
    explicit ModelOnDesktop(Desktop& desktop)
        : hud(BrightnessHUD::create(desktop.loop(), desktop.platform().screens,
                                    desktop.platform().indicatorPanels)),
          model(AppModel::make(desktop.platform(), *hud)) {}

    std::shared_ptr<BrightnessHUD> hud;
    std::shared_ptr<AppModel> model;
};

// A laptop panel on eDP-1 with a raw backlight at 600 of 1200, and a Dell monitor on DP-2
// whose DDC bus (7) has no i2c-dev node. Returns the backlight's folder.
inline std::filesystem::path addPanelAndMonitor(const linux_desktop::testing::FakeSysfs& sysfs) {
    using linux_desktop::testing::makeEdid;
    const auto panel = sysfs.connector("card0-eDP-1", makeEdid(0x09E5, 0x05DF, 0, "Panel"));
    sysfs.connector("card0-DP-2", makeEdid(0x10AC, 0xA0C1, 99, "DELL U2720Q"), 7);
    return sysfs.backlight(panel, "intel_backlight", "raw", "600", "1200");
}

inline bool hasService(const QDBusConnection& connection, const QString& service) {
    return connection.interface()->isServiceRegistered(service).value();
}

// Starts python3-dbusmock on `bus` serving `interface` at `path` under the name `service`;
// whether it came up on the bus, as `connection` sees it.
inline bool startDBusMock(QProcess& mock, const PrivateSessionBus& bus,
                          const QDBusConnection& connection, const QString& service,
                          const QString& path, const QString& interface) {
    mock.setProcessEnvironment(bus.environment(QStringLiteral("/nonexistent")));
    mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mock.start(QStringLiteral("timeout"), {"120", "/usr/bin/python3", "-m", "dbusmock", "--session",
                                           service, path, interface});
    return mock.waitForStarted(10000) &&
           waitUntil([&] { return hasService(connection, service); }, std::chrono::seconds(20));
}

// Calls `method` of the mock's control interface (org.freedesktop.DBus.Mock) on `path`.
inline QDBusMessage callMock(const QDBusConnection& connection, const QString& service,
                             const QString& path, const char* method,
                             const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Mock"), QLatin1String(method));
    call.setArguments(arguments);
    return connection.call(call);
}

// A reply, or the error that came instead.
inline ::testing::AssertionResult replied(const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ReplyMessage) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << reply.errorName().toStdString() << ": " << reply.errorMessage().toStdString();
}

}  // namespace corvane::app::testing
