// EDIDs as a display hands them over: whatever the bytes, a parsed EDID is made of whole
// blocks of the input and its texts stay short and on one line. (The UUIDs named after the
// EDID are pinned, digit for digit, by the name-based UUID test.)
#include <algorithm>

#include "FuzzCheck.h"
#include "platform/linux/Edid.h"

using namespace corvane::linux_desktop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const std::optional<Edid> edid = parseEdid(input);
    if (!edid) return 0;
    FUZZ_CHECK(edid->blocks >= 1);
    FUZZ_CHECK(edid->bytes.size() == edid->blocks * kEdidBlockSize);
    FUZZ_CHECK(std::equal(edid->bytes.begin(), edid->bytes.end(), input.begin()));
    for (const std::string* text : {&edid->name, &edid->serialText})
        FUZZ_CHECK(text->size() <= 13 && text->find('\n') == std::string::npos);
    return 0;
}
