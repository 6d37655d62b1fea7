#include "platform/sim/SimNotifications.h"

#include <vector>

namespace corvane::sim {

class SimNotifications::Observer final : public NotificationObserver {
public:
    Observer(std::weak_ptr<Handlers> handlers, int id) : handlers_(std::move(handlers)), id_(id) {}
    ~Observer() override {
        if (auto handlers = handlers_.lock()) handlers->erase(id_);
    }

private:
    std::weak_ptr<Handlers> handlers_;
    int id_;
};

SimNotifications::SimNotifications() : handlers_(std::make_shared<Handlers>()) {}

std::unique_ptr<NotificationObserver> SimNotifications::observeScreenParameters(
    std::function<void()> handler) {
    return observe(Kind::screenParameters, std::move(handler));
}

std::unique_ptr<NotificationObserver> SimNotifications::observeWake(std::function<void()> handler) {
    return observe(Kind::wake, std::move(handler));
}

std::unique_ptr<NotificationObserver> SimNotifications::observe(Kind kind,
                                                               std::function<void()> handler) {
    int id = nextId_++;
    (*handlers_)[id] = Handler{kind, std::move(handler)};
    return std::make_unique<Observer>(handlers_, id);
}

void SimNotifications::postScreenParametersChanged() { post(Kind::screenParameters); }

void SimNotifications::postWake() { post(Kind::wake); }

void SimNotifications::post(Kind kind) {
    std::vector<std::function<void()>> calls;
    for (const auto& [id, handler] : *handlers_)
        if (handler.kind == kind) calls.push_back(handler.call);
    for (const auto& call : calls) call();
}

}  // namespace corvane::sim
