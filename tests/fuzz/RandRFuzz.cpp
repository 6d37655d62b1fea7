// What the X server reports: output names matched against DRM connectors (the same either way
// round), and gamma ramps of any length resampled to the dimmer's tables and back.
#include <algorithm>
#include <vector>

#include "FuzzCheck.h"
#include "platform/linux/x11/GammaResampling.h"
#include "platform/linux/x11/OutputNames.h"

using namespace corvane::linux_desktop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The input up to its first zero byte names a connector, the rest an output.
    const std::string_view connector = text.substr(0, text.find('\0'));
    const std::string_view output = text.substr(std::min(connector.size() + 1, text.size()));
    FUZZ_CHECK(sameOutputName(connector, output) == sameOutputName(output, connector));
    FUZZ_CHECK(sameOutputName(connector, connector) == !canonicalOutputName(connector).empty());

    std::vector<std::uint16_t> ramp(size / 2);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
    const std::vector<float> table = rampToTable(ramp, kGammaTableEntries);
    FUZZ_CHECK(table.size() == (ramp.empty() ? 0 : kGammaTableEntries));
    FUZZ_CHECK(std::all_of(table.begin(), table.end(), [](float v) { return v >= 0 && v <= 1; }));
    if (ramp.empty()) return 0;
    FUZZ_CHECK(table.front() == ramp.front() / 65535.0f);
    FUZZ_CHECK(table.back() == ramp.back() / 65535.0f);
    const std::vector<std::uint16_t> back = tableToRamp(table, ramp.size());
    FUZZ_CHECK(back.front() == ramp.front() && back.back() == ramp.back());
    if (std::is_sorted(ramp.begin(), ramp.end()))
        FUZZ_CHECK(std::is_sorted(table.begin(), table.end()) &&
                   std::is_sorted(back.begin(), back.end()));
    return 0;
}
