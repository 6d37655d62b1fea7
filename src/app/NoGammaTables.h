#pragma once

#include "platform/GammaTables.h"

namespace corvane::app {

// Gamma tables where none can be set: in a Wayland session an X client's ramps (on Xwayland)
// dim nothing, so every read and write is refused and the displays fall to their other paths.
class NoGammaTables final : public GammaTables {
  public:
    static constexpr std::int32_t kUnavailable = 1;

    void restoreColorProfiles() override {}
    std::int32_t readTransferTable(DisplayID, std::span<float>, std::span<float>,
                                   std::span<float>, std::uint32_t*) override {
        return kUnavailable;
    }
    std::int32_t writeTransferTable(DisplayID, std::span<const float>, std::span<const float>,
                                    std::span<const float>) override {
        return kUnavailable;
    }
};

}  // namespace corvane::app
