#pragma once

#include <QDBusConnection>
#include <chrono>

#include "platform/linux/BacklightWriter.h"

namespace corvane::linux_desktop {

// Sets a backlight through the login manager: the session's SetBrightness call lets the user
// of the active session change the panel's level without write access to sysfs. When the call
// fails (no system bus, no logind, an older logind without the call, a refusal) the level goes
// to `fallback`, which writes sysfs where that is allowed. The call blocks for at most
// `timeout`. Main thread only.
class LogindBacklightWriter final : public BacklightWriter {
  public:
    static constexpr std::chrono::milliseconds kDefaultTimeout{2000};

    LogindBacklightWriter(QDBusConnection systemBus, BacklightWriter& fallback,
                          std::chrono::milliseconds timeout = kDefaultTimeout);

    bool write(const BacklightDevice& device, std::uint64_t value) override;

  private:
    bool setThroughSession(const BacklightDevice& device, std::uint64_t value);

    QDBusConnection bus_;
    BacklightWriter& fallback_;
    std::chrono::milliseconds timeout_;
};

}  // namespace corvane::linux_desktop
