#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "display/DisplaySession.h"
#include "hud/BrightnessHUD.h"
#include "input/BrightnessKeyMonitor.h"
#include "model/BrightnessPreset.h"
#include "model/DisplaySnapshot.h"
#include "model/FirstReadings.h"
#include "platform/Platform.h"

namespace corvane {

// The published fields of the model; observers learn which one was assigned.
enum class ModelField {
    displays,
    launchAtLogin,
    showingAbout,
    syncDisplays,
    showMenuPercent,
    showMenuNits,
    limitOnBattery,
};

// The one application-wide model: a session per online display, the user's settings, the
// timers and observers that keep the displays right, and what the interface shows. Every
// operation runs on the main thread; there are no locks.
class AppModel : public std::enable_shared_from_this<AppModel> {
public:
    using SessionTable = std::map<DisplayID, std::shared_ptr<DisplaySession>>;
    using Observer = std::function<void(ModelField)>;

    static constexpr std::size_t kMaxDisplays = 16;
    static constexpr double kKeyStep = 6.25;
    static constexpr double kFineKeyStep = 1.0;
    static constexpr Seconds kHoldDuration{0.9};
    static constexpr Seconds kHoldInterval{1.0 / 60};
    static constexpr Seconds kPollInterval{0.4};
    static constexpr double kDriftThreshold = 1.5;
    static constexpr double kBoostingTolerance = 0.5;
    static constexpr double kPeakThreshold = 97.0;

    // Loads the settings; touches no display and starts nothing.
    static std::shared_ptr<AppModel> make(const Platform& platform, BrightnessHUD& hud);
    AppModel(const Platform& platform, BrightnessHUD& hud);
    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // The application's model, made on first use from the environment installed with
    // provideShared(). None before that.
    static std::shared_ptr<AppModel> shared();
    static void provideShared(const Platform& platform, BrightnessHUD& hud);

    void start();
    void teardown();

    // Observers hear of every published assignment, also when the value did not change.
    int addObserver(Observer observer);
    void removeObserver(int id);

    // Published fields.
    const std::vector<DisplaySnapshot>& displays() const { return displays_; }
    bool launchAtLogin() const { return launchAtLogin_; }
    bool showingAbout() const { return showingAbout_; }
    bool syncDisplays() const { return syncDisplays_; }
    bool showMenuPercent() const { return showMenuPercent_; }
    bool showMenuNits() const { return showMenuNits_; }
    bool limitOnBattery() const { return limitOnBattery_; }
    void setShowingAbout(bool showing);
    void setSyncDisplays(bool sync);
    void setShowMenuPercent(bool show);
    void setShowMenuNits(bool show);
    void setLimitOnBattery(bool limit);
    void toggleLaunchAtLogin();

    // Refresh and publication. A new external monitor gets its session only when its first
    // DDC/CI reading has arrived (FirstReadings); until then it has no card.
    void refresh();
    void publish();
    std::optional<DisplaySnapshot> focusDisplay() const;
    std::shared_ptr<DisplaySession> focusSession() const;
    int menuPercent() const;
    std::optional<int> menuNits() const;
    bool isBoosting() const;
    bool isAtPeak() const;
    bool hasXDR() const;

    // Commands.
    double capped(double percent, const DisplaySession& session) const;
    void apply(double percent, DisplayID target);
    void applyStored();
    void applyPreset(BrightnessPreset preset);
    void showHUD(DisplayID id);
    void stepBrightness(BrightnessKey key, bool fine);
    void beginHold();
    void holdTick();

    // Polling and power.
    void tick();
    void applyPowerPolicy();
    static bool onBattery(const PowerSources& power);

    const SessionTable& sessions() const { return sessions_; }
    const std::map<DisplayID, double>& intendedPercents() const { return intendedPercents_; }
    const std::map<DisplayID, double>& previousPercents() const { return previousPercents_; }
    bool isHolding() const { return holdTimer_ != nullptr; }
    // The power state the last poll or policy run saw.
    bool lastOnBattery() const { return lastOnBattery_; }
    TimePoint holdUntil() const { return holdUntil_; }
    BrightnessKeyMonitor& brightnessKeys() { return *brightnessKeys_; }

private:
    void notify(ModelField field);
    void assignSetting(bool& setting, bool value, ModelField field, std::string_view key);
    // Runs `call` on the model through a main-loop task, if the model still exists then.
    std::function<void()> hopToMain(void (AppModel::*call)());
    // Runs `call` on the model straight from a main-loop timer, if the model still exists.
    std::function<void()> onTimer(void (AppModel::*call)());
    void dropSession(DisplayID id);
    void addSession(DisplayID id, std::shared_ptr<DDCController> ddc);
    void monitorReadingArrived(DisplayID id, std::shared_ptr<DDCController> ddc);
    void reapplyIntended();
    void adoptBacklight(DisplaySession& session);
    const DisplaySnapshot* menuRecord() const;

    const Platform& platform_;
    BrightnessHUD& hud_;
    std::shared_ptr<BrightnessKeyMonitor> brightnessKeys_;
    FirstReadings firstReadings_;
    std::map<int, Observer> observers_;
    int nextObserverId_ = 1;

    std::vector<DisplaySnapshot> displays_;
    bool launchAtLogin_ = false;
    bool showingAbout_ = false;
    bool syncDisplays_ = false;
    bool showMenuPercent_ = true;
    bool showMenuNits_ = false;
    bool limitOnBattery_ = false;
    SessionTable sessions_;
    std::map<DisplayID, double> previousPercents_;
    std::map<DisplayID, double> intendedPercents_;
    std::unique_ptr<NotificationObserver> reconfiguration_;
    std::unique_ptr<NotificationObserver> wakeObserver_;
    std::unique_ptr<ScheduledWork> poller_;
    std::unique_ptr<ScheduledWork> holdTimer_;
    TimePoint holdUntil_ = TimePoint::min();
    bool lastOnBattery_ = false;
};

}  // namespace corvane
