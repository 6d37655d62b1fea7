#pragma once

#include <functional>
#include <memory>

namespace corvane {

// A registration for a notification; dropping it stops the deliveries.
class NotificationObserver {
public:
    virtual ~NotificationObserver() = default;
};

// Notifications from the desktop, delivered on the main thread.
class SystemNotifications {
public:
    virtual ~SystemNotifications() = default;

    // Screens were added, removed or rearranged, or their parameters changed.
    virtual std::unique_ptr<NotificationObserver> observeScreenParameters(
        std::function<void()> handler) = 0;
    // The computer woke from sleep.
    virtual std::unique_ptr<NotificationObserver> observeWake(std::function<void()> handler) = 0;
};

}  // namespace corvane
