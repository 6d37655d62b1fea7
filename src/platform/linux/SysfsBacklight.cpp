#include "platform/linux/SysfsBacklight.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 3> kTypeOrder = {"firmware", "platform", "raw"};
constexpr std::string_view kDdcClientSuffix = "-0037";  // an i2c client at the DDC/CI address

struct Candidate {
    BacklightDevice device;
    fs::path location;  // the device's real folder
};

std::size_t typeRank(const std::string& type) {
    return static_cast<std::size_t>(std::find(kTypeOrder.begin(), kTypeOrder.end(), type) -
                                    kTypeOrder.begin());
}

bool belowDdcMonitor(const fs::path& location) {
    return std::any_of(location.begin(), location.end(), [](const fs::path& part) {
        const std::string name = part.string();
        return name.size() > kDdcClientSuffix.size() && name.ends_with(kDdcClientSuffix) &&
               std::all_of(name.begin(), name.end() - kDdcClientSuffix.size(),
                           [](char c) { return c >= '0' && c <= '9'; });
    });
}

bool belowAnyConnector(const fs::path& location) {
    return connectorName(location.parent_path().filename().string()).has_value();
}

std::vector<Candidate> readableDevices(const fs::path& sysfsRoot) {
    const fs::path folder = sysfsRoot / "class" / "backlight";
    std::vector<Candidate> devices;
    for (const std::string& name : sortedEntryNames(folder)) {
        std::error_code error;
        fs::path location = fs::canonical(folder / name, error);
        if (error || belowDdcMonitor(location)) continue;
        BacklightDevice device{folder / name, name, readWord(folder / name / "type").value_or("")};
        if (!maxBrightness(device)) continue;
        devices.push_back(Candidate{std::move(device), std::move(location)});
    }
    return devices;
}

}  // namespace

std::optional<BacklightDevice> panelBacklight(const fs::path& sysfsRoot,
                                              const DrmConnector& connector) {
    std::vector<Candidate> devices = readableDevices(sysfsRoot);
    std::error_code error;
    const fs::path connectorLocation = fs::canonical(connector.path, error);
    if (!error)
        for (const Candidate& candidate : devices)
            if (candidate.location.parent_path() == connectorLocation) return candidate.device;

    std::optional<BacklightDevice> best;
    for (const Candidate& candidate : devices) {
        const std::size_t rank = typeRank(candidate.device.type);
        if (rank == kTypeOrder.size() || belowAnyConnector(candidate.location)) continue;
        if (!best || rank < typeRank(best->type)) best = candidate.device;
    }
    return best;
}

std::optional<std::uint64_t> maxBrightness(const BacklightDevice& device) {
    std::optional<std::uint64_t> max = readNumber(device.path / "max_brightness");
    if (!max || *max == 0) return std::nullopt;
    return max;
}

double BacklightReading::level() const {
    if (raw >= max) return 1.0;
    return static_cast<double>(raw) / static_cast<double>(max);
}

std::optional<BacklightReading> readBacklight(const BacklightDevice& device) {
    std::optional<std::uint64_t> max = maxBrightness(device);
    std::optional<std::uint64_t> raw = readNumber(device.path / "brightness");
    if (!max || !raw) return std::nullopt;
    return BacklightReading{*raw, *max};
}

std::uint64_t rawFor(double level, std::uint64_t max) {
    if (!(level > 0)) return 0;
    if (level >= 1) return max;
    // In long double (64-bit mantissa) the product of a level below 1 stays at most `max`
    // and converts back without overflow; a double would round 2^64 - 1 up to 2^64.
    const long double scaled = std::roundl(static_cast<long double>(level) *
                                           static_cast<long double>(max));
    return static_cast<std::uint64_t>(scaled);
}

}  // namespace corvane::linux_desktop
