#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>
#include <memory>

#include "platform/SystemNotifications.h"
#include "platform/linux/NotificationHandlers.h"

namespace corvane::linux_desktop {

// The computer's wake from sleep as the login manager announces it: its PrepareForSleep
// signal with false, sent once the system has resumed. PrepareForSleep(true), sent before
// sleep, wakes nobody. Without a system bus nothing is ever delivered. Main thread only.
class LogindWakeSignal final : public QObject {
    Q_OBJECT
  public:
    explicit LogindWakeSignal(QDBusConnection systemBus);

    std::unique_ptr<NotificationObserver> observe(std::function<void()> handler);
    // Whether the subscription to the signal was accepted by the bus.
    bool subscribed() const { return subscribed_; }

  private slots:
    void prepareForSleep(bool beforeSleep);

  private:
    NotificationHandlers handlers_;
    bool subscribed_ = false;
};

}  // namespace corvane::linux_desktop
