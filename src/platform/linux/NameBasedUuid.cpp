#include "platform/linux/NameBasedUuid.h"

#include <uuid/uuid.h>

namespace corvane::linux_desktop {

std::string nameBasedUuid(const UuidBytes& nameSpace, std::span<const std::uint8_t> name) {
    uuid_t uuid;
    uuid_generate_sha1(uuid, nameSpace.data(), reinterpret_cast<const char*>(name.data()),
                       name.size());
    char text[37];  // 36 characters and the terminating zero
    uuid_unparse_upper(uuid, text);
    return text;
}

}  // namespace corvane::linux_desktop
