// EDIDs as a display hands them over: parsed, and named by their UUID.
#include <algorithm>
#include <cctype>

#include "FuzzCheck.h"
#include "platform/linux/Edid.h"
#include "platform/linux/NameBasedUuid.h"

using namespace corvane::linux_desktop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::optional<Edid> edid = parseEdid(input);
    if (!edid) return 0;
    FUZZ_CHECK(edid->blocks >= 1);
    FUZZ_CHECK(edid->bytes.size() == edid->blocks * kEdidBlockSize);
    FUZZ_CHECK(std::equal(edid->bytes.begin(), edid->bytes.end(), input.begin()));
    FUZZ_CHECK(edid->vendor.size() == 3);
    for (const std::string* text : {&edid->name, &edid->serialText})
        FUZZ_CHECK(text->size() <= 13 && text->find('\n') == std::string::npos);

    const std::string uuid = nameBasedUuid(kDisplayUuidNamespace, edid->bytes);
    FUZZ_CHECK(uuid.size() == 36 && uuid[14] == '5');
    FUZZ_CHECK(std::string_view("89AB").find(uuid[19]) != std::string_view::npos);
    FUZZ_CHECK(std::none_of(uuid.begin(), uuid.end(), [](char c) { return std::islower(c); }));
    return 0;
}
