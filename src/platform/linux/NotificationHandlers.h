#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/SystemNotifications.h"

namespace corvane::linux_desktop {

// The handlers registered for one notification. Each registration is an observer whose
// release removes its handler; observers may outlive the list. Main thread only.
class NotificationHandlers {
  public:
    NotificationHandlers() : handlers_(std::make_shared<Map>()) {}

    std::unique_ptr<NotificationObserver> add(std::function<void()> handler) {
        const std::uint64_t key = nextKey_++;
        handlers_->emplace(key, std::move(handler));
        return std::make_unique<Registration>(handlers_, key);
    }

    // Calls every handler registered now, in registration order. A handler may drop its own
    // or another registration while this runs.
    void notify() const {
        const Map snapshot = *handlers_;
        for (const auto& [key, handler] : snapshot)
            if (handlers_->contains(key)) handler();
    }

    bool empty() const { return handlers_->empty(); }

  private:
    using Map = std::map<std::uint64_t, std::function<void()>>;

    class Registration final : public NotificationObserver {
      public:
        Registration(const std::shared_ptr<Map>& handlers, std::uint64_t key)
            : handlers_(handlers), key_(key) {}
        ~Registration() override {
            if (std::shared_ptr<Map> handlers = handlers_.lock()) handlers->erase(key_);
        }

      private:
        std::weak_ptr<Map> handlers_;
        std::uint64_t key_;
    };

    std::shared_ptr<Map> handlers_;
    std::uint64_t nextKey_ = 1;
};

}  // namespace corvane::linux_desktop
