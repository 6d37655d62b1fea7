#include "platform/linux/x11/OutputPairing.h"

#include <algorithm>
#include <functional>

#include "platform/linux/x11/OutputNames.h"

namespace corvane::linux_desktop {
namespace {

using Pairs = std::vector<std::optional<std::size_t>>;

std::optional<std::vector<std::uint8_t>> baseBlock(const std::optional<Edid>& edid) {
    if (!edid) return std::nullopt;
    return edid->baseBlock();
}

std::optional<std::vector<std::uint8_t>> baseBlock(const RandROutput& output) {
    if (!output.edid) return std::nullopt;
    return baseBlock(parseEdid(*output.edid));
}

class Pairing {
  public:
    Pairing(const std::vector<DrmConnector>& connectors, const std::vector<RandROutput>& outputs)
        : connectors_(connectors), outputs_(outputs), pairs_(connectors.size()),
          taken_(outputs.size(), false) {}

    // Pairs the open connectors and outputs whose keys are equal and unique on both sides.
    template <typename Key>
    void byUniqueKey(std::function<std::optional<Key>(const DrmConnector&)> connectorKey,
                     std::function<std::optional<Key>(const RandROutput&)> outputKey) {
        std::vector<std::optional<Key>> connectorKeys, outputKeys;
        for (std::size_t c = 0; c < connectors_.size(); ++c)
            connectorKeys.push_back(pairs_[c] ? std::nullopt : connectorKey(connectors_[c]));
        for (std::size_t o = 0; o < outputs_.size(); ++o)
            outputKeys.push_back(taken_[o] ? std::nullopt : outputKey(outputs_[o]));
        for (std::size_t c = 0; c < connectors_.size(); ++c) {
            if (!connectorKeys[c] || std::count(connectorKeys.begin(), connectorKeys.end(),
                                                connectorKeys[c]) != 1)
                continue;
            auto match = std::find(outputKeys.begin(), outputKeys.end(), connectorKeys[c]);
            if (match == outputKeys.end() ||
                std::count(outputKeys.begin(), outputKeys.end(), connectorKeys[c]) != 1)
                continue;
            pair(c, static_cast<std::size_t>(match - outputKeys.begin()));
        }
    }

    void byName() {
        for (std::size_t c = 0; c < connectors_.size(); ++c) {
            if (pairs_[c]) continue;
            for (std::size_t o = 0; o < outputs_.size(); ++o) {
                if (taken_[o] || !sameOutputName(connectors_[c].name, outputs_[o].name)) continue;
                pair(c, o);
                break;
            }
        }
    }

    Pairs result() const { return pairs_; }

  private:
    void pair(std::size_t connector, std::size_t output) {
        pairs_[connector] = output;
        taken_[output] = true;
    }

    const std::vector<DrmConnector>& connectors_;
    const std::vector<RandROutput>& outputs_;
    Pairs pairs_;
    std::vector<bool> taken_;
};

}  // namespace

Pairs pairOutputs(const std::vector<DrmConnector>& connectors,
                  const std::vector<RandROutput>& outputs) {
    Pairing pairing(connectors, outputs);
    pairing.byUniqueKey<unsigned>([](const DrmConnector& c) { return c.connectorId; },
                                  [](const RandROutput& o) { return o.connectorId; });
    pairing.byUniqueKey<std::vector<std::uint8_t>>(
        [](const DrmConnector& c) { return baseBlock(c.edid); },
        [](const RandROutput& o) { return baseBlock(o); });
    pairing.byName();
    return pairing.result();
}

}  // namespace corvane::linux_desktop
