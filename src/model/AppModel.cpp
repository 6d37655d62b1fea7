#include "model/AppModel.h"

#include "model/PreferenceKeys.h"

namespace corvane {
namespace {

struct SharedEnvironment {
    const Platform* platform = nullptr;
    BrightnessHUD* hud = nullptr;
};

SharedEnvironment& sharedEnvironment() {
    static SharedEnvironment environment;
    return environment;
}

}  // namespace

std::shared_ptr<AppModel> AppModel::make(const Platform& platform, BrightnessHUD& hud) {
    return std::make_shared<AppModel>(platform, hud);
}

void AppModel::provideShared(const Platform& platform, BrightnessHUD& hud) {
    sharedEnvironment() = {&platform, &hud};
}

std::shared_ptr<AppModel> AppModel::shared() {
    static std::shared_ptr<AppModel> model;
    const SharedEnvironment& environment = sharedEnvironment();
    if (!model && environment.platform)
        model = make(*environment.platform, *environment.hud);
    return model;
}

// Loads the settings. Only an absent percent-readout preference is written (as true); the
// initial assignments neither write back nor apply the power policy.
AppModel::AppModel(const Platform& platform, BrightnessHUD& hud)
    : platform_(platform),
      hud_(hud),
      brightnessKeys_(BrightnessKeyMonitor::create(platform.events, platform.loop)),
      firstReadings_(platform, [this](DisplayID id, std::shared_ptr<DDCController> ddc) {
          monitorReadingArrived(id, std::move(ddc));
      }) {
    PreferencesStore& preferences = platform.preferences;
    if (!preferences.object(preference_keys::kShowMenuPercent))
        preferences.setBoolean(preference_keys::kShowMenuPercent, true);
    syncDisplays_ = preferences.boolean(preference_keys::kSyncDisplays);
    showMenuPercent_ = preferences.boolean(preference_keys::kShowMenuPercent);
    showMenuNits_ = preferences.boolean(preference_keys::kShowMenuNits);
    std::optional<PropertyValue> limit = preferences.object(preference_keys::kLimitOnBattery);
    limitOnBattery_ = limit && limit->boolean() && *limit->boolean();
    lastOnBattery_ = onBattery(platform.power);
}

void AppModel::start() {
    refresh();
    applyStored();
    launchAtLogin_ = platform_.loginItem.status() == LoginItem::Status::enabled;
    notify(ModelField::launchAtLogin);
    reconfiguration_ =
        platform_.notifications.observeScreenParameters(hopToMain(&AppModel::refresh));
    wakeObserver_ = platform_.notifications.observeWake(hopToMain(&AppModel::applyStored));
    poller_ = platform_.loop.scheduleRepeating(kPollInterval, onTimer(&AppModel::tick));
    std::weak_ptr<AppModel> weak = weak_from_this();
    brightnessKeys_->onKey = [weak](BrightnessKey key, bool fine) {
        if (auto model = weak.lock()) model->stepBrightness(key, fine);
    };
    brightnessKeys_->start();
}

// Stops key capture, the hold and every boost, and hides the indicator. Levels set in
// hardware stay; the poll and the observers run until the process ends.
void AppModel::teardown() {
    brightnessKeys_->stop();
    holdTimer_.reset();
    for (const auto& [id, session] : sessions_)
        if (session->xdr()) session->xdr()->tearDown();
    hud_.hide();
}

// Timers fire on the main thread already: a tick is one main-loop callback, not a callback that
// posts another.
std::function<void()> AppModel::onTimer(void (AppModel::*call)()) {
    std::weak_ptr<AppModel> weak = weak_from_this();
    return [weak, call] {
        if (auto model = weak.lock()) ((*model).*call)();
    };
}

std::function<void()> AppModel::hopToMain(void (AppModel::*call)()) {
    std::weak_ptr<AppModel> weak = weak_from_this();
    MainLoop& loop = platform_.loop;
    return [weak, call, &loop] {
        loop.post([weak, call] {
            if (auto model = weak.lock()) ((*model).*call)();
        });
    };
}

int AppModel::addObserver(Observer observer) {
    int id = nextObserverId_++;
    observers_[id] = std::move(observer);
    return id;
}

void AppModel::removeObserver(int id) { observers_.erase(id); }

void AppModel::notify(ModelField field) {
    std::vector<Observer> current;
    for (const auto& [id, observer] : observers_) current.push_back(observer);
    for (const Observer& observer : current) observer(field);
}

void AppModel::assignSetting(bool& setting, bool value, ModelField field, std::string_view key) {
    setting = value;
    notify(field);
    platform_.preferences.setBoolean(key, value);
}

void AppModel::setShowingAbout(bool showing) {
    showingAbout_ = showing;
    notify(ModelField::showingAbout);
}

void AppModel::setSyncDisplays(bool sync) {
    assignSetting(syncDisplays_, sync, ModelField::syncDisplays, preference_keys::kSyncDisplays);
}

void AppModel::setShowMenuPercent(bool show) {
    assignSetting(showMenuPercent_, show, ModelField::showMenuPercent,
                  preference_keys::kShowMenuPercent);
}

void AppModel::setShowMenuNits(bool show) {
    assignSetting(showMenuNits_, show, ModelField::showMenuNits, preference_keys::kShowMenuNits);
}

void AppModel::setLimitOnBattery(bool limit) {
    assignSetting(limitOnBattery_, limit, ModelField::limitOnBattery,
                  preference_keys::kLimitOnBattery);
    applyPowerPolicy();
}

// Flips the registration whatever the switch asked for, then shows the state the service
// reports: a refused change leaves no other trace.
void AppModel::toggleLaunchAtLogin() {
    LoginItem& item = platform_.loginItem;
    if (item.status() == LoginItem::Status::enabled)
        item.unregisterItem();
    else
        item.registerItem();
    launchAtLogin_ = item.status() == LoginItem::Status::enabled;
    notify(ModelField::launchAtLogin);
}

}  // namespace corvane
