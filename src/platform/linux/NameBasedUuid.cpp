#include "platform/linux/NameBasedUuid.h"

#include <algorithm>
#include <vector>

#include "platform/linux/Sha1.h"

namespace corvane::linux_desktop {

std::string nameBasedUuid(const UuidBytes& nameSpace, std::span<const std::uint8_t> name) {
    std::vector<std::uint8_t> message(nameSpace.begin(), nameSpace.end());
    message.insert(message.end(), name.begin(), name.end());
    const Sha1Digest digest = sha1(message);

    UuidBytes uuid{};
    std::copy_n(digest.begin(), uuid.size(), uuid.begin());
    uuid[6] = static_cast<std::uint8_t>((uuid[6] & 0x0F) | 0x50);  // version 5
    uuid[8] = static_cast<std::uint8_t>((uuid[8] & 0x3F) | 0x80);  // RFC 4122 variant

    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < uuid.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(kDigits[uuid[i] >> 4]);
        text.push_back(kDigits[uuid[i] & 0x0F]);
    }
    return text;
}

}  // namespace corvane::linux_desktop
