#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "platform/GammaTables.h"

namespace corvane::sim {

// Gamma tables per display. Each table starts as its profile's ramp (entry i of n is
// i / (n - 1)); reads and writes can be made to fail.
class SimGamma final : public GammaTables {
public:
    static constexpr std::int32_t kFailure = 1000;

    struct Table {
        std::vector<float> red, green, blue;
        friend bool operator==(const Table&, const Table&) = default;
    };

    void restoreColorProfiles() override;
    std::int32_t readTransferTable(DisplayID id, std::span<float> red, std::span<float> green,
                                   std::span<float> blue, std::uint32_t* sampleCount) override;
    std::int32_t writeTransferTable(DisplayID id, std::span<const float> red,
                                    std::span<const float> green,
                                    std::span<const float> blue) override;

    // Gives the display a profile table of `length` entries (0 is allowed) and shows it.
    void addTable(DisplayID id, std::size_t length);
    void setReadFails(bool fails) { readFails_ = fails; }
    void setWriteFails(bool fails) { writeFails_ = fails; }

    bool hasTable(DisplayID id) const { return profiles_.contains(id); }
    const Table& profile(DisplayID id) const { return profiles_.at(id); }
    const Table& current(DisplayID id) const { return current_.at(id); }
    // The current table's brightness against the profile: the ratio of their last entries.
    double factor(DisplayID id) const;
    int restoreCount() const { return restores_; }
    // How many tables were set, and the last one (none before the first): counts, not every
    // table, so that a long run keeps its memory.
    std::size_t writeCount() const { return writeCount_; }
    std::size_t writeCount(DisplayID id) const {
        auto found = writesPerDisplay_.find(id);
        return found == writesPerDisplay_.end() ? 0 : found->second;
    }
    const std::optional<std::pair<DisplayID, Table>>& lastWrite() const { return lastWrite_; }

private:
    std::map<DisplayID, Table> profiles_;
    std::map<DisplayID, Table> current_;
    std::optional<std::pair<DisplayID, Table>> lastWrite_;
    std::size_t writeCount_ = 0;
    std::map<DisplayID, std::size_t> writesPerDisplay_;
    bool readFails_ = false;
    bool writeFails_ = false;
    int restores_ = 0;
};

}  // namespace corvane::sim
