// Preferences files as another tool or a broken sync might leave them: whatever the file
// holds, the store starts, and when the file is a JSON object no key in it is lost by a
// write of the store's own.
#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "platform/linux/JsonMembers.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/sim/SimMainLoop.h"

using namespace corvane;
using namespace corvane::linux_desktop;

namespace {

std::vector<std::string> decodedKeys(const std::vector<JsonMemberText>& members) {
    std::vector<std::string> keys;
    for (const JsonMemberText& member : members) {
        nlohmann::json key = nlohmann::json::parse(member.keyText, nullptr, false);
        if (key.is_string()) keys.push_back(key.get<std::string>());
    }
    return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile file("preferences.json");
    static sim::SimMainLoop loop;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::filesystem::remove_all(file.folder());
    std::filesystem::create_directories(file.folder());
    file.write(data, size);

    const std::optional<std::vector<JsonMemberText>> members = splitJsonObject(text);
    // The reference parser ends its input at a NUL byte, so it only judges text without one.
    const nlohmann::json strict = nlohmann::json::parse(text, nullptr, false);
    if (strict.is_object() && text.find('\0') == std::string_view::npos)
        FUZZ_CHECK(members.has_value());
    {
        JsonPreferencesStore store(file.path(), loop);
        FUZZ_CHECK(store.brokenFileMovedTo().has_value() == !members.has_value());
        store.setDouble("corvane.fuzz", 1);
        FUZZ_CHECK(store.flush());
    }
    JsonPreferencesStore reopened(file.path(), loop);
    FUZZ_CHECK(reopened.object("corvane.fuzz") == PropertyValue(1.0));
    if (members)
        for (const std::string& key : decodedKeys(*members))
            FUZZ_CHECK(reopened.object(key).has_value());
    return 0;
}
