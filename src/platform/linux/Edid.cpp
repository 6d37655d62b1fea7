#include "platform/linux/Edid.h"

#include <algorithm>
#include <array>
#include <numeric>

namespace corvane::linux_desktop {
namespace {

constexpr std::array<std::uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kExtensionCount = 126;
constexpr std::size_t kDescriptorOffsets[] = {54, 72, 90, 108};
constexpr std::size_t kDescriptorTextLength = 13;

constexpr std::uint8_t kNameTag = 0xFC;
constexpr std::uint8_t kSerialTag = 0xFF;
constexpr std::uint8_t kAlphanumericTag = 0xFE;

using Block = std::span<const std::uint8_t, kEdidBlockSize>;

bool checksumHolds(Block block) {
    return std::accumulate(block.begin(), block.end(), 0u) % 256 == 0;
}

std::string pnpLetters(std::uint16_t code) {
    std::string letters;
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (code >> shift) & 0x1F;
        letters.push_back(letter >= 1 && letter <= 26 ? static_cast<char>('A' + letter - 1) : '?');
    }
    return letters;
}

// A display descriptor's 13 text bytes, cut at the first line feed, trailing spaces removed.
std::string descriptorText(std::span<const std::uint8_t> text) {
    auto end = std::find(text.begin(), text.end(), std::uint8_t{0x0A});
    std::string result(text.begin(), end);
    result.erase(result.find_last_not_of(' ') + 1);
    return result;
}

void readDescriptors(Block base, Edid& edid) {
    for (std::size_t offset : kDescriptorOffsets) {
        auto descriptor = base.subspan(offset, 18);
        if (descriptor[0] != 0 || descriptor[1] != 0) continue;  // a detailed timing
        const std::string text = descriptorText(descriptor.subspan(5, kDescriptorTextLength));
        switch (descriptor[3]) {
            case kNameTag:
                if (edid.name.empty()) edid.name = text;
                break;
            case kSerialTag:
                if (edid.serialText.empty()) edid.serialText = text;
                break;
            case kAlphanumericTag:
                edid.alphanumericStrings.push_back(text);
                break;
            default:
                break;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> Edid::baseBlock() const {
    return std::vector<std::uint8_t>(bytes.begin(),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(kEdidBlockSize));
}

std::optional<Edid> parseEdid(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kEdidBlockSize) return std::nullopt;
    Block base = bytes.first<kEdidBlockSize>();
    if (!std::equal(kHeader.begin(), kHeader.end(), base.begin()) || !checksumHolds(base))
        return std::nullopt;

    Edid edid;
    edid.vendorCode = static_cast<std::uint16_t>((base[8] << 8) | base[9]);
    edid.vendor = pnpLetters(edid.vendorCode);
    edid.product = static_cast<std::uint16_t>(base[10] | (base[11] << 8));
    edid.serial = static_cast<std::uint32_t>(base[12]) | static_cast<std::uint32_t>(base[13]) << 8 |
                  static_cast<std::uint32_t>(base[14]) << 16 |
                  static_cast<std::uint32_t>(base[15]) << 24;
    readDescriptors(base, edid);

    edid.blocks = 1;
    const std::size_t announced = 1 + base[kExtensionCount];
    edid.announcedBlocks = announced;
    while (edid.blocks < announced && (edid.blocks + 1) * kEdidBlockSize <= bytes.size()) {
        Block extension = bytes.subspan(edid.blocks * kEdidBlockSize).first<kEdidBlockSize>();
        if (!checksumHolds(extension)) break;
        ++edid.blocks;
    }
    edid.bytes.assign(bytes.begin(), bytes.begin() + edid.blocks * kEdidBlockSize);
    return edid;
}

}  // namespace corvane::linux_desktop
