#pragma once

#include <QDBusConnection>
#include <QObject>
#include <chrono>
#include <map>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/linux/BacklightWriter.h"

namespace corvane::linux_desktop {

// Sets a backlight through the login manager: the session's SetBrightness call lets the user
// of the active session change the panel's level without write access to sysfs. The call is
// made asynchronously, so the interface never waits for it, and coalesced: at most one call
// per device is in flight, and while it is, only the latest level waits to follow it. A write
// is taken as done once queued. When the call fails (no logind, an older one without the
// call, a refusal because the session is not in the foreground) the level goes to `fallback`,
// which writes sysfs where that is allowed; the failure is logged once, not per call. Without
// a system bus every level goes to `fallback` at once. Main thread only.
class LogindBacklightWriter final : public BacklightWriter {
  public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{2000};

    LogindBacklightWriter(QDBusConnection systemBus, BacklightWriter& fallback,
                          std::chrono::milliseconds timeout = kDefaultTimeout);

    bool write(const BacklightDevice& device, std::uint64_t value) override;

  private:
    struct Device {
        BacklightDevice device;
        std::uint64_t latest = 0;
        bool inFlight = false;
        bool waiting = false;  // a newer level than the one in flight
    };

    void send(Device& device);
    void finished(const std::string& name, std::uint64_t value, bool failed);

    QDBusConnection bus_;
    BacklightWriter& fallback_;
    std::chrono::milliseconds timeout_;
    std::map<std::string, Device> devices_;
    FailureEpisode refusals_{DiagnosticTopic::backlight, "logind SetBrightness"};
    QObject calls_;  // owns the calls' watchers, so none outlives the writer
};

}  // namespace corvane::linux_desktop
