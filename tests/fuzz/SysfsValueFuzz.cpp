// One-value sysfs files: a number is read only when the file holds exactly that number.
#include <string_view>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "platform/linux/SysfsFiles.h"

using namespace corvane::linux_desktop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile file("max_brightness");
    file.write(data, size);
    const std::optional<std::string> word = readWord(file.path());
    FUZZ_CHECK(word.has_value());
    FUZZ_CHECK(word->size() <= size);
    constexpr std::string_view kBlanks = " \t\n\r";
    if (!word->empty()) {
        FUZZ_CHECK(kBlanks.find(word->front()) == std::string_view::npos);
        FUZZ_CHECK(kBlanks.find(word->back()) == std::string_view::npos);
    }
    if (const std::optional<std::uint64_t> number = readNumber(file.path())) {
        std::string digits = *word;
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        FUZZ_CHECK(digits == std::to_string(*number));
    }
    return 0;
}
