// Replies a monitor sends over DDC/CI: whatever comes back, only the monitor's address is
// spoken to, every request is a well-formed frame, and a reading is only taken from a reply
// that answers the request.
#include <algorithm>
#include <vector>

#include "FuzzCheck.h"
#include "ddc/DDCProtocol.h"
#include "platform/sim/SimDesktop.h"

using namespace corvane;

namespace {

struct Bus final : AVService {};

void checkRequest(std::uint32_t chip, std::uint32_t dataAddress,
                  std::span<const std::uint8_t> frame) {
    FUZZ_CHECK(chip == DDCProtocol::kChipAddress);
    FUZZ_CHECK(dataAddress == DDCProtocol::kDataAddress);
    FUZZ_CHECK(frame.size() >= 3 && frame[0] == 0x80 + frame.size() - 2);
    std::uint8_t checksum = DDCProtocol::kChecksumSeed;
    for (std::size_t i = 0; i + 1 < frame.size(); ++i) checksum ^= frame[i];
    FUZZ_CHECK(checksum == frame.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::SimDesktop desktop;
    const Platform& base = desktop.platform();
    const std::vector<std::uint8_t> reply(data, data + size);

    PrivateDisplayFunctions functions;
    functions.writeI2C = [](AVService&, std::uint32_t chip, std::uint32_t dataAddress,
                            std::span<const std::uint8_t> frame) {
        checkRequest(chip, dataAddress, frame);
        return 0;
    };
    functions.readI2C = [&reply](AVService&, std::uint32_t chip, std::uint32_t offset,
                                 std::span<std::uint8_t> buffer) {
        FUZZ_CHECK(chip == DDCProtocol::kChipAddress && offset == DDCProtocol::kReadOffset);
        std::fill(buffer.begin(), buffer.end(), 0);
        std::copy_n(reply.begin(), std::min(reply.size(), buffer.size()), buffer.begin());
        return reply.empty() ? -1 : 0;
    };
    const Platform platform{base.displays,    base.screens,   functions,   base.displayConnect,
                            base.gamma,       base.registry,  base.sleeper, base.preferences,
                            base.localizer,   base.overlays,  base.loop,   base.power,
                            base.loginItem,   base.notifications, base.events,
                            base.indicatorPanels};
    Bus bus;
    const std::uint8_t vcp = size > 0 ? data[0] : DDCProtocol::kBrightness;
    if (std::optional<VCPReading> reading = DDCProtocol::read(platform, bus, vcp)) {
        FUZZ_CHECK(reply.size() > 4 && reply[2] == DDCProtocol::kReplyOpcode && reply[4] == vcp);
    }
    const std::uint16_t value = size > 2 ? static_cast<std::uint16_t>(data[1] << 8 | data[2]) : 0;
    DDCProtocol::write(platform, bus, vcp, value);
    return 0;
}
