#include "platform/linux/DdcBusFinder.h"

#include <algorithm>

#include "platform/Diagnostics.h"
#include "platform/linux/DisplayAdapters.h"

namespace corvane::linux_desktop {
namespace {

std::optional<std::vector<std::uint8_t>> baseBlock(const std::optional<Edid>& edid) {
    if (!edid) return std::nullopt;
    return edid->baseBlock();
}

}  // namespace

DdcBusFinder::DdcBusFinder(std::filesystem::path sysfsRoot, const I2cDevTransport& transport)
    : sysfsRoot_(std::move(sysfsRoot)), transport_(transport) {}

std::vector<std::optional<unsigned>> DdcBusFinder::busesFor(
    const std::vector<DrmConnector>& connectors) {
    std::set<unsigned> owned;
    std::vector<std::pair<std::string, Block>> waiting;
    for (const DrmConnector& connector : connectors) {
        if (connector.ddcBus)
            owned.insert(*connector.ddcBus);
        else if (std::optional<Block> base = baseBlock(connector.edid))
            waiting.emplace_back(connector.sysfsName, std::move(*base));
    }
    if (!waiting.empty() && waiting != waiting_) probe(owned);
    waiting_ = std::move(waiting);

    std::vector<std::optional<unsigned>> buses;
    for (const DrmConnector& connector : connectors) {
        std::optional<unsigned> bus = connector.ddcBus;
        if (!bus)
            if (std::optional<Block> base = baseBlock(connector.edid)) bus = busWithEdid(*base);
        if (!bus && !connector.builtin) reportMissing(connector);
        buses.push_back(bus);
    }
    return buses;
}

void DdcBusFinder::probe(const std::set<unsigned>& owned) {
    probed_.clear();
    for (unsigned bus : displayAdapterBuses(sysfsRoot_)) {
        if (owned.contains(bus)) continue;
        std::optional<std::vector<std::uint8_t>> bytes = transport_.readEdid(bus);
        if (!bytes) continue;
        // A bus answering garbage at 0x50 fails the checksum and holds no EDID.
        if (std::optional<Block> base = baseBlock(parseEdid(*bytes))) probed_.emplace(bus, *base);
    }
}

std::optional<unsigned> DdcBusFinder::busWithEdid(const Block& base) const {
    std::optional<unsigned> found;
    for (const auto& [bus, block] : probed_) {
        if (block != base) continue;
        if (found) return std::nullopt;  // identical monitors: no way to tell which is which
        found = bus;
    }
    return found;
}

void DdcBusFinder::reportMissing(const DrmConnector& connector) {
    if (!reported_.insert(connector.sysfsName).second) return;
    diagnose(DiagnosticTopic::ddc, DiagnosticLevel::info,
             connector.sysfsName + ": no DDC/CI bus found (no ddc link, no AUX channel and no "
                                   "display adapter with its EDID)");
}

}  // namespace corvane::linux_desktop
