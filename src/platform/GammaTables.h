#pragma once

#include <cstdint>
#include <span>

#include "platform/DisplayCatalog.h"

namespace corvane {

// Per-display gamma (transfer) tables. Status 0 is success.
class GammaTables {
public:
    virtual ~GammaTables() = default;

    // Returns the tables of every display to their colour profiles.
    virtual void restoreColorProfiles() = 0;
    // Fills at most red.size() entries of each array and reports the table's length in
    // `sampleCount`. The three spans have the same size.
    virtual std::int32_t readTransferTable(DisplayID id, std::span<float> red,
                                           std::span<float> green, std::span<float> blue,
                                           std::uint32_t* sampleCount) = 0;
    // Sets the display's tables; the three spans have the same size.
    virtual std::int32_t writeTransferTable(DisplayID id, std::span<const float> red,
                                            std::span<const float> green,
                                            std::span<const float> blue) = 0;
};

}  // namespace corvane
