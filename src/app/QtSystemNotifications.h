#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "platform/SystemNotifications.h"
#include "platform/linux/NotificationHandlers.h"

class QScreen;

namespace corvane::app {

// Screen changes from Qt and wake from `wake`. A screen added or removed, a new primary
// screen, or a screen's geometry or available area changing all count as one change of the
// screen parameters; a burst of them within one pass of the event loop (a monitor plugged in
// moves every screen) is delivered once, on the next pass. Main thread only.
class QtSystemNotifications final : public QObject, public SystemNotifications {
    Q_OBJECT
  public:
    using WakeSource =
        std::function<std::unique_ptr<NotificationObserver>(std::function<void()> handler)>;

    explicit QtSystemNotifications(WakeSource wake);

    std::unique_ptr<NotificationObserver> observeScreenParameters(
        std::function<void()> handler) override;
    std::unique_ptr<NotificationObserver> observeWake(std::function<void()> handler) override;

  private:
    void watch(QScreen* screen);
    void screensChanged();

    WakeSource wake_;
    linux_desktop::NotificationHandlers screenHandlers_;
    bool deliveryPending_ = false;
};

}  // namespace corvane::app
