#include <algorithm>

#include "model/AppModel.h"
#include "model/NameOrder.h"
#include "model/Rounding.h"
#include "ddc/DDCDiscovery.h"

namespace corvane {
namespace {

// Built-in first, then the main display, then by name; ties keep the table's order.
bool listedBefore(const DisplaySnapshot& a, const DisplaySnapshot& b) {
    if (a.isBuiltin != b.isBuiltin) return a.isBuiltin;
    if (a.isMain != b.isMain) return a.isMain;
    return namesInAscendingOrder(a.name, b.name);
}

DisplaySnapshot snapshotOf(const DisplaySession& session) {
    DisplaySnapshot snapshot;
    snapshot.id = session.id();
    snapshot.uuid = session.uuid();
    snapshot.name = session.name();
    snapshot.isBuiltin = session.isBuiltin();
    snapshot.isMain = session.isMain();
    snapshot.supportsXDR = session.supportsXDR();
    snapshot.path = session.path();
    snapshot.percent = session.percent();
    snapshot.sdrNits = session.sdrNits();
    snapshot.peakNits = session.peakNits();
    return makeSnapshot(std::move(snapshot));
}

}  // namespace

// Brings the session table in step with the online displays: drops the sessions of displays
// that are gone, renames the others, and makes and applies a session for each new display.
void AppModel::refresh() {
    DisplayCatalog& catalog = platform_.displays;
    std::vector<DisplayID> online = catalog.onlineDisplays(kMaxDisplays);
    if (online.size() > kMaxDisplays) online.resize(kMaxDisplays);
    std::vector<DisplayID> external;
    for (DisplayID id : online)
        if (!catalog.isBuiltin(id)) external.push_back(id);
    auto services = DDCDiscovery::services(platform_, external);

    SessionTable previous = sessions_;
    for (const auto& [id, session] : previous)
        if (std::find(online.begin(), online.end(), id) == online.end()) dropSession(id);

    std::vector<std::shared_ptr<DisplaySession>> kept;
    bool made = false;
    for (DisplayID id : online) {
        auto existing = sessions_.find(id);
        if (existing != sessions_.end()) {
            DisplaySession& session = *existing->second;
            session.setName(DisplaySession::resolveName(platform_, id, session.isBuiltin()));
            kept.push_back(existing->second);
            continue;
        }
        auto service = services.find(id);
        addSession(id, service == services.end() ? nullptr : service->second);
        made = true;
    }
    // A new session restores every display's gamma profile: the displays dimmed by gamma get
    // their levels back.
    if (made)
        for (const auto& session : kept) session->rewriteSoftware();
    publish();
}

void AppModel::dropSession(DisplayID id) {
    auto it = sessions_.find(id);
    if (it->second->xdr()) it->second->xdr()->tearDown();
    sessions_.erase(it);
    intendedPercents_.erase(id);
}

void AppModel::addSession(DisplayID id, AVServiceHandle service) {
    auto session = std::make_shared<DisplaySession>(platform_, id, std::move(service));
    sessions_[id] = session;
    intendedPercents_[id] = session->percent();
    session->apply(capped(session->percent(), *session), false, false);
}

void AppModel::publish() {
    std::vector<DisplaySnapshot> records;
    records.reserve(sessions_.size());
    for (const auto& [id, session] : sessions_) records.push_back(snapshotOf(*session));
    std::stable_sort(records.begin(), records.end(), listedBefore);
    displays_ = std::move(records);
    notify(ModelField::displays);
}

std::optional<DisplaySnapshot> AppModel::focusDisplay() const {
    auto pick = [this](auto predicate) -> const DisplaySnapshot* {
        auto it = std::find_if(displays_.begin(), displays_.end(), predicate);
        return it == displays_.end() ? nullptr : &*it;
    };
    if (auto* builtin = pick([](const DisplaySnapshot& s) { return s.isBuiltin; })) return *builtin;
    if (auto* main = pick([](const DisplaySnapshot& s) { return s.isMain; })) return *main;
    if (displays_.empty()) return std::nullopt;
    return displays_.front();
}

std::shared_ptr<DisplaySession> AppModel::focusSession() const {
    for (const auto& [id, session] : sessions_)
        if (session->isBuiltin()) return session;
    for (const auto& [id, session] : sessions_)
        if (session->isMain()) return session;
    return sessions_.empty() ? nullptr : sessions_.begin()->second;
}

// The main display's record, else the first; the menu-bar readouts come from it.
const DisplaySnapshot* AppModel::menuRecord() const {
    for (const DisplaySnapshot& record : displays_)
        if (record.isMain) return &record;
    return displays_.empty() ? nullptr : &displays_.front();
}

int AppModel::menuPercent() const {
    const DisplaySnapshot* record = menuRecord();
    return record ? roundedHalfAwayFromZero(record->percent) : 0;
}

std::optional<int> AppModel::menuNits() const {
    const DisplaySnapshot* record = menuRecord();
    if (!record || !record->supportsXDR) return std::nullopt;
    return record->estimatedNits;
}

bool AppModel::isBoosting() const {
    return std::any_of(displays_.begin(), displays_.end(), [](const DisplaySnapshot& record) {
        double top = static_cast<double>(record.sdrNits) / std::max(record.peakNits, 1) * 100;
        return record.supportsXDR && record.percent > top + kBoostingTolerance;
    });
}

bool AppModel::isAtPeak() const {
    return std::any_of(displays_.begin(), displays_.end(), [](const DisplaySnapshot& record) {
        return record.supportsXDR && record.percent >= kPeakThreshold;
    });
}

bool AppModel::hasXDR() const {
    return std::any_of(displays_.begin(), displays_.end(),
                       [](const DisplaySnapshot& record) { return record.supportsXDR; });
}

}  // namespace corvane
