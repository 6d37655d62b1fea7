#include "platform/linux/Sha1.h"

#include <bit>
#include <vector>

namespace corvane::linux_desktop {
namespace {

struct State {
    std::array<std::uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

    void compress(const std::uint8_t* chunk) {
        std::array<std::uint32_t, 80> w{};
        for (int i = 0; i < 16; ++i)
            w[i] = std::uint32_t{chunk[4 * i]} << 24 | std::uint32_t{chunk[4 * i + 1]} << 16 |
                   std::uint32_t{chunk[4 * i + 2]} << 8 | std::uint32_t{chunk[4 * i + 3]};
        for (int i = 16; i < 80; ++i)
            w[i] = std::rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

        auto [a, b, c, d, e] = h;
        for (int i = 0; i < 80; ++i) {
            std::uint32_t f, k;
            if (i < 20) {
                f = (b & c) | (~b & d), k = 0x5A827999;
            } else if (i < 40) {
                f = b ^ c ^ d, k = 0x6ED9EBA1;
            } else if (i < 60) {
                f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d, k = 0xCA62C1D6;
            }
            const std::uint32_t next = std::rotl(a, 5) + f + e + k + w[i];
            e = d, d = c, c = std::rotl(b, 30), b = a, a = next;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    }
};

}  // namespace

Sha1Digest sha1(std::span<const std::uint8_t> message) {
    // The message, a one bit, zeros up to 56 mod 64 bytes, and the bit length big-endian.
    std::vector<std::uint8_t> padded(message.begin(), message.end());
    padded.push_back(0x80);
    while (padded.size() % 64 != 56) padded.push_back(0);
    const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8)
        padded.push_back(static_cast<std::uint8_t>(bits >> shift));

    State state;
    for (std::size_t offset = 0; offset < padded.size(); offset += 64)
        state.compress(&padded[offset]);

    Sha1Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i)
        digest[i] = static_cast<std::uint8_t>(state.h[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

}  // namespace corvane::linux_desktop
