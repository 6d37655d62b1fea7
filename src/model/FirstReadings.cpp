#include "model/FirstReadings.h"

#include <algorithm>
#include <string>

#include "platform/Diagnostics.h"

namespace corvane {

FirstReadings::FirstReadings(const Platform& platform, Ready ready)
    : platform_(platform), ready_(std::move(ready)), self_(std::make_shared<FirstReadings*>(this)) {}

void FirstReadings::start(DisplayID id, AVServiceHandle service) {
    Reading& reading = readings_[id] = Reading{};
    reading.controller = DDCController::make(platform_, id, std::move(service));
    read(id);
}

void FirstReadings::keepOnly(const std::vector<DisplayID>& online) {
    std::erase_if(readings_, [&](const auto& entry) {
        return std::find(online.begin(), online.end(), entry.first) == online.end();
    });
}

void FirstReadings::read(DisplayID id) {
    Reading& reading = readings_.at(id);
    reading.ticket = nextTicket_++;
    std::weak_ptr<FirstReadings*> weak = self_;
    reading.controller->readFirst([weak, id, ticket = reading.ticket](bool answered) {
        if (auto self = weak.lock()) (*self)->arrived(id, ticket, answered);
    });
}

// A result of a reading no longer wanted (the display went away, perhaps came back and is being
// read afresh) is dropped.
void FirstReadings::arrived(DisplayID id, std::uint64_t ticket, bool answered) {
    auto found = readings_.find(id);
    if (found == readings_.end() || found->second.ticket != ticket) return;
    Reading& reading = found->second;
    if (!answered && reading.retriesLeft > 0) {
        --reading.retriesLeft;
        std::weak_ptr<FirstReadings*> weak = self_;
        reading.retry = platform_.loop.scheduleOnce(kRetryDelay, [weak, id] {
            if (auto self = weak.lock()) (*self)->read(id);
        });
        return;
    }
    if (!answered)
        diagnose(DiagnosticTopic::ddc, DiagnosticLevel::info,
                 "display " + std::to_string(id) +
                     " over DDC/CI: no brightness reading; taking it as full");
    std::shared_ptr<DDCController> ready = std::move(reading.controller);
    readings_.erase(found);
    ready_(id, std::move(ready));
}

}  // namespace corvane
