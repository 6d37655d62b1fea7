#pragma once

#include <map>
#include <memory>

#include "platform/SystemNotifications.h"

namespace corvane::sim {

// Notifications that a test or scenario posts by hand.
class SimNotifications final : public SystemNotifications {
public:
    SimNotifications();

    std::unique_ptr<NotificationObserver> observeScreenParameters(
        std::function<void()> handler) override;
    std::unique_ptr<NotificationObserver> observeWake(std::function<void()> handler) override;

    void postScreenParametersChanged();
    void postWake();
    std::size_t observerCount() const { return handlers_->size(); }

private:
    enum class Kind { screenParameters, wake };
    struct Handler {
        Kind kind;
        std::function<void()> call;
    };
    using Handlers = std::map<int, Handler>;
    class Observer;

    std::unique_ptr<NotificationObserver> observe(Kind kind, std::function<void()> handler);
    void post(Kind kind);

    std::shared_ptr<Handlers> handlers_;
    int nextId_ = 1;
};

}  // namespace corvane::sim
