#include "platform/linux/JsonPreferencesStore.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/linux/AtomicFile.h"
#include "platform/linux/JsonMembers.h"
#include "platform/linux/RegularFile.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

std::string utcTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

// A name beside `file` that nothing holds yet.
fs::path brokenName(const fs::path& file) {
    const std::string base = file.string() + ".broken-" + utcTimestamp();
    fs::path candidate = base;
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(candidate, error)); ++n)
        candidate = base + "-" + std::to_string(n);
    return candidate;
}

std::optional<std::string> decodedKey(const std::string& keyText) {
    Json key = Json::parse(keyText, nullptr, false);
    if (!key.is_string()) return std::nullopt;
    return key.get<std::string>();
}

std::string dumped(const Json& value) {
    return value.dump(4, ' ', false, Json::error_handler_t::replace);
}

// `text` as a nested value: its following lines indented one level more.
std::string indented(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        text.insert(at + 1, "    ");
    return text;
}

}  // namespace

fs::path preferencesFile(const fs::path& configHome) {
    return configHome / "corvane-display" / "preferences.json";
}

JsonPreferencesStore::JsonPreferencesStore(std::optional<fs::path> file, MainLoop& loop)
    : file_(std::move(file)),
      loop_(loop),
      writeTrouble_(DiagnosticTopic::prefs, file_ ? file_->string() : std::string()) {
    load();
}

JsonPreferencesStore::~JsonPreferencesStore() {
    flush();
}

void JsonPreferencesStore::load() {
    if (!file_) {
        writable_ = false;
        diagnose(DiagnosticTopic::prefs, DiagnosticLevel::warning,
                 "no home folder: preferences are kept in memory for this session only");
        return;
    }
    RegularFileRead read = readRegularFile(*file_, kMaxFileSize);
    switch (read.outcome) {
        case RegularFileRead::Outcome::missing:
            return;
        case RegularFileRead::Outcome::notRegular:
            return holdWrites("not a regular file");
        case RegularFileRead::Outcome::tooLarge:
            return holdWrites("larger than 16 MiB");
        case RegularFileRead::Outcome::unreadable:
            return holdWrites("cannot be read (" + read.error.message() + ")");
        case RegularFileRead::Outcome::read:
            return readMembers(read.bytes);
    }
}

void JsonPreferencesStore::holdWrites(std::string_view reason) {
    writable_ = false;
    diagnose(DiagnosticTopic::prefs, DiagnosticLevel::warning,
             file_->string() + ": " + std::string(reason) +
                 "; running on defaults for this session and leaving the file as it is");
}

void JsonPreferencesStore::moveAside(const std::string& bytes) {
    const fs::path target = followSymbolicLinks(*file_);
    const fs::path aside = brokenName(target);
    std::error_code error;
    fs::rename(target, aside, error);
    if (error) return holdWrites("not a JSON object and cannot be moved aside (" +
                                 error.message() + ")");
    movedTo_ = aside;
    diagnose(DiagnosticTopic::prefs, DiagnosticLevel::warning,
             file_->string() + ": not a JSON object (" + std::to_string(bytes.size()) +
                 " bytes); moved aside to " + aside.string() + ", starting with defaults");
}

void JsonPreferencesStore::readMembers(const std::string& bytes) {
    std::optional<std::vector<JsonMemberText>> members = splitJsonObject(bytes);
    if (!members) return moveAside(bytes);
    for (JsonMemberText& member : *members) {
        const std::optional<std::string> key = decodedKey(member.keyText);
        Json value = member.depth <= kMaxDepth ? Json::parse(member.valueText, nullptr, false)
                                               : Json(Json::value_t::discarded);
        if (key) {  // a later member of a key replaces an earlier one
            values_.erase(*key);
            asRead_.erase(*key);
            std::erase_if(kept_, [&](const KeptMember& kept) { return kept.key == key; });
        }
        if (key && !value.is_discarded()) {
            values_[*key] = std::move(value);
            asRead_[*key] = member.valueText;
            continue;
        }
        diagnose(DiagnosticTopic::prefs, DiagnosticLevel::info,
                 file_->string() + ": " + member.keyText.substr(0, 80) + " kept as written (" +
                     (member.depth > kMaxDepth ? "nested too deeply" : "out of range") + ")");
        kept_.push_back({key, member.keyText + ": " + member.valueText});
    }
}

std::optional<PropertyValue> JsonPreferencesStore::object(std::string_view key) const {
    if (auto it = values_.find(key); it != values_.end()) {
        if (it->is_boolean()) return PropertyValue(it->get<bool>());
        if (it->is_number()) return PropertyValue(it->get<double>());
        if (it->is_string()) return PropertyValue(it->get<std::string>());
        return PropertyValue(PropertyValue::Other{});
    }
    if (std::ranges::any_of(kept_, [&](const KeptMember& kept) { return kept.key == key; }))
        return PropertyValue(PropertyValue::Other{});
    return std::nullopt;
}

void JsonPreferencesStore::setBoolean(std::string_view key, bool value) {
    set(key, value);
}

void JsonPreferencesStore::setDouble(std::string_view key, double value) {
    if (std::isfinite(value)) set(key, value);
}

void JsonPreferencesStore::setString(std::string_view key, std::string value) {
    set(key, std::move(value));
}

void JsonPreferencesStore::set(std::string_view key, Json value) {
    std::erase_if(kept_, [&](const KeptMember& kept) { return kept.key == key; });
    if (auto read = asRead_.find(key); read != asRead_.end()) asRead_.erase(read);
    values_[std::string(key)] = std::move(value);
    dirty_ = true;
    if (flushScheduled_ || !writable_) return;
    flushScheduled_ = true;
    scheduledFlush_ = loop_.scheduleOnce(kFlushDelay, [this] {
        flushScheduled_ = false;
        write();
    });
}

bool JsonPreferencesStore::flush() {
    if (scheduledFlush_) scheduledFlush_->cancel();
    flushScheduled_ = false;
    return write();
}

bool JsonPreferencesStore::write() {
    if (!dirty_) return true;
    if (!writable_) return false;
    if (std::error_code error = writeFileAtomically(*file_, text())) {
        writeTrouble_.failed("cannot be written (" + error.message() +
                             "); trying again at the next change");
        return false;
    }
    writeTrouble_.succeeded();
    dirty_ = false;
    return true;
}

// The members read as values first (as they were read unless the application set them), then
// those kept as written.
std::string JsonPreferencesStore::text() const {
    std::vector<std::string> members;
    for (const auto& [key, value] : values_.items()) {
        auto read = asRead_.find(key);
        members.push_back(dumped(Json(key)) + ": " +
                          (read != asRead_.end() ? read->second : indented(dumped(value))));
    }
    for (const KeptMember& kept : kept_) members.push_back(kept.text);
    if (members.empty()) return "{}\n";
    std::string text = "{\n";
    for (std::size_t i = 0; i < members.size(); ++i)
        text += "    " + members[i] + (i + 1 < members.size() ? ",\n" : "\n");
    return text + "}\n";
}

}  // namespace corvane::linux_desktop
