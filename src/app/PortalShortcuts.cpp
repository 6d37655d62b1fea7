#include "app/PortalShortcuts.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>

#include "platform/Diagnostics.h"

namespace corvane::app {

const QString PortalShortcuts::kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalShortcuts::kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalShortcuts::kInterface =
    QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

namespace {

// The desktop entry's name: the portal names the application's shortcuts after it.
const QString kApplicationId = QStringLiteral("corvane-display");
const QString kCreateToken = QStringLiteral("corvane_display_create");
const QString kBindToken = QStringLiteral("corvane_display_bind");
const QString kSessionToken = QStringLiteral("corvane_display");

// A shortcut as BindShortcuts takes it: (sa{sv}), its id and its description.
struct Shortcut {
    QString id;
    QVariantMap properties;
};

struct ShortcutMeaning {
    const char* id;
    const char* description;
    BrightnessKey key;
    bool fine;
};

constexpr ShortcutMeaning kShortcuts[] = {
    {"brightness-up", "Brightness up", BrightnessKey::up, false},
    {"brightness-down", "Brightness down", BrightnessKey::down, false},
    {"brightness-up-fine", "Brightness up, fine step", BrightnessKey::up, true},
    {"brightness-down-fine", "Brightness down, fine step", BrightnessKey::down, true},
};

}  // namespace
}  // namespace corvane::app

Q_DECLARE_METATYPE(corvane::app::Shortcut)

namespace corvane::app {
namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void note(const std::string& message) {
    diagnose(DiagnosticTopic::keys, DiagnosticLevel::info, message);
}

}  // namespace

PortalShortcuts::PortalShortcuts(const QDBusConnection& bus, KeyHandler onKey)
    : bus_(bus), onKey_(std::move(onKey)) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

// The portal answers on a request object whose path it derives from our name and the token.
QString PortalShortcuts::createRequestPath() const {
    QString sender = bus_.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + kCreateToken;
}

bool PortalShortcuts::start() {
    if (!bus_.isConnected() || !bus_.interface() ||
        !bus_.interface()->isServiceRegistered(kService).value()) {
        note("no desktop portal: brightness keys only from the desktop's own shortcuts");
        return false;
    }
    // An application outside a sandbox tells the portal who it is before its first request
    // (portals older than this call do without it).
    QDBusMessage registration = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    registration << kApplicationId << QVariantMap();
    bus_.asyncCall(registration);
    bus_.connect(kService, createRequestPath(), QStringLiteral("org.freedesktop.portal.Request"),
                 QStringLiteral("Response"), this, SLOT(sessionCreated(uint, QVariantMap)));
    QDBusMessage create =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
    create << QVariantMap{{QStringLiteral("handle_token"), kCreateToken},
                         {QStringLiteral("session_handle_token"), kSessionToken}};
    auto* reply = new QDBusPendingCallWatcher(bus_.asyncCall(create), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* call) {
        if (call->isError())
            note("the desktop portal has no global shortcuts: " +
                 call->error().message().toStdString());
        call->deleteLater();
    });
    return true;
}

void PortalShortcuts::sessionCreated(uint response, const QVariantMap& results) {
    QVariant handle = results.value(QStringLiteral("session_handle"));
    // Older portals give the handle as a string, newer ones as an object path.
    session_ = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                    : handle.toString();
    if (response != 0 || session_.isEmpty()) {
        note("the desktop portal made no global-shortcuts session");
        session_.clear();
        return;
    }
    bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                 SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    bindShortcuts();
}

void PortalShortcuts::bindShortcuts() {
    QList<Shortcut> shortcuts;
    for (const ShortcutMeaning& meaning : kShortcuts)
        shortcuts.append({QString::fromLatin1(meaning.id),
                          {{QStringLiteral("description"),
                            QString::fromLatin1(meaning.description)}}});
    QDBusMessage bind =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
    bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
         << QString() << QVariantMap{{QStringLiteral("handle_token"), kBindToken}};
    bus_.asyncCall(bind);
    note("brightness keys through the desktop's global-shortcuts portal");
}

void PortalShortcuts::activated(const QDBusObjectPath& session, const QString& shortcut,
                                qulonglong, const QVariantMap&) {
    if (session.path() != session_) return;
    for (const ShortcutMeaning& meaning : kShortcuts)
        if (shortcut == QLatin1String(meaning.id)) onKey_(meaning.key, meaning.fine);
}

}  // namespace corvane::app
