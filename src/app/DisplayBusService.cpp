#include "app/DisplayBusService.h"

#include <QDBusMessage>
#include <QDBusMetaType>

#include "DisplayBusAdaptor.h"
#include "model/AppModel.h"
#include "model/RemoteCommands.h"

namespace corvane::app {

const QString DisplayBusService::kServiceName = QStringLiteral("io.corvane.Display");
const QString DisplayBusService::kObjectPath = QStringLiteral("/io/corvane/Display");
const QString DisplayBusService::kInterface = QStringLiteral("io.corvane.Display");

QVariantMap displayRecord(const DisplaySnapshot& display) {
    QVariantMap record{
        {QStringLiteral("id"), QVariant::fromValue<uint>(display.id)},
        {QStringLiteral("uuid"), QString::fromStdString(display.uuid)},
        {QStringLiteral("name"), QString::fromStdString(display.name)},
        {QStringLiteral("isBuiltin"), display.isBuiltin},
        {QStringLiteral("isMain"), display.isMain},
        {QStringLiteral("supportsXDR"), display.supportsXDR},
        {QStringLiteral("path"), QString::fromUtf8(rawValue(display.path))},
        {QStringLiteral("percent"), display.percent},
        {QStringLiteral("sdrNits"), display.sdrNits},
        {QStringLiteral("peakNits"), display.peakNits},
        {QStringLiteral("sdrPercent"), display.sdrPercent},
    };
    if (display.estimatedNits) record.insert(QStringLiteral("estimatedNits"), *display.estimatedNits);
    return record;
}

DisplayBusService::DisplayBusService(AppModel& model, ShellActions actions)
    : model_(model), actions_(std::move(actions)) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
    new DisplayAdaptor(this);
    announcedDisplays_ = model_.displays();
    announcedSettings_ = currentSettings();
    observer_ = model_.addObserver([this](ModelField) { modelChanged(); });
}

DisplayBusService::~DisplayBusService() {
    model_.removeObserver(observer_);
    if (bus_) bus_->unregisterObject(kObjectPath);
}

bool DisplayBusService::exportOn(const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    QDBusConnection connection = bus;
    if (!connection.registerObject(kObjectPath, this)) return false;
    bus_ = connection;
    return true;
}

void DisplayBusService::refuse(const std::string& message) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, QString::fromStdString(message));
}

void DisplayBusService::Step(const QString& direction, bool fine) {
    if (RemoteCommandResult error = stepBrightness(model_, direction.toStdString(), fine))
        refuse(error->message);
}

void DisplayBusService::SetLevel(const QString& uuid, double percent) {
    if (RemoteCommandResult error = setLevel(model_, uuid.toStdString(), percent))
        refuse(error->message);
}

void DisplayBusService::ApplyPreset(const QString& name) {
    if (RemoteCommandResult error = applyPresetNamed(model_, name.toStdString()))
        refuse(error->message);
}

void DisplayBusService::ShowPopover() {
    actions_.showPopover();
}

void DisplayBusService::ClosePopover() {
    actions_.closePopover();
}

void DisplayBusService::Quit() {
    actions_.quit();
}

QList<QVariantMap> DisplayBusService::ListDisplays() const {
    QList<QVariantMap> records;
    for (const DisplaySnapshot& display : model_.displays()) records.append(displayRecord(display));
    return records;
}

bool DisplayBusService::syncDisplays() const {
    return model_.syncDisplays();
}
bool DisplayBusService::showMenuPercent() const {
    return model_.showMenuPercent();
}
bool DisplayBusService::showMenuNits() const {
    return model_.showMenuNits();
}
bool DisplayBusService::limitOnBattery() const {
    return model_.limitOnBattery();
}
void DisplayBusService::setSyncDisplays(bool value) {
    model_.setSyncDisplays(value);
}
void DisplayBusService::setShowMenuPercent(bool value) {
    model_.setShowMenuPercent(value);
}
void DisplayBusService::setShowMenuNits(bool value) {
    model_.setShowMenuNits(value);
}
void DisplayBusService::setLimitOnBattery(bool value) {
    model_.setLimitOnBattery(value);
}

DisplayBusService::Settings DisplayBusService::currentSettings() const {
    return {model_.syncDisplays(), model_.showMenuPercent(), model_.showMenuNits(),
            model_.limitOnBattery()};
}

// The model tells of every assignment, also of unchanged values: only real changes go out.
void DisplayBusService::modelChanged() {
    if (model_.displays() != announcedDisplays_) {
        announcedDisplays_ = model_.displays();
        emit DisplaysChanged(ListDisplays());
    }
    Settings settings = currentSettings();
    if (settings != announcedSettings_) {
        announceSettings(announcedSettings_, settings);
        announcedSettings_ = settings;
    }
}

void DisplayBusService::announceSettings(const Settings& before, const Settings& after) {
    if (!bus_) return;
    QVariantMap changed;
    auto note = [&](const char* name, bool was, bool now) {
        if (was != now) changed.insert(QString::fromLatin1(name), now);
    };
    note("SyncDisplays", before.sync, after.sync);
    note("ShowMenuPercent", before.percent, after.percent);
    note("ShowMenuNits", before.nits, after.nits);
    note("LimitOnBattery", before.battery, after.battery);
    QDBusMessage signal = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << kInterface << changed << QStringList();
    bus_->send(signal);
}

}  // namespace corvane::app
