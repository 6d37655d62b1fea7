#include "platform/linux/JsonPreferencesStore.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/linux/AtomicFile.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

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
    for (int n = 2; fs::exists(candidate, error); ++n) candidate = base + "-" + std::to_string(n);
    return candidate;
}

}  // namespace

fs::path preferencesFile(const fs::path& configHome) {
    return configHome / "corvane-display" / "preferences.json";
}

JsonPreferencesStore::JsonPreferencesStore(fs::path file, MainLoop& loop)
    : file_(std::move(file)), loop_(loop) {
    load();
}

JsonPreferencesStore::~JsonPreferencesStore() {
    flush();
}

void JsonPreferencesStore::load() {
    std::error_code error;
    if (!fs::exists(file_, error)) return;
    if (auto bytes = readBytes(file_, kMaxFileSize + 1); bytes && bytes->size() <= kMaxFileSize) {
        Json parsed = Json::parse(bytes->begin(), bytes->end(), nullptr, false);
        if (parsed.is_object()) {
            values_ = std::move(parsed);
            return;
        }
    }
    const fs::path aside = brokenName(file_);
    fs::rename(file_, aside, error);
    if (!error) movedTo_ = aside;
}

std::optional<PropertyValue> JsonPreferencesStore::object(std::string_view key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    if (it->is_boolean()) return PropertyValue(it->get<bool>());
    if (it->is_number()) return PropertyValue(it->get<double>());
    if (it->is_string()) return PropertyValue(it->get<std::string>());
    return PropertyValue(PropertyValue::Other{});
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
    values_[std::string(key)] = std::move(value);
    dirty_ = true;
    if (flushScheduled_) return;
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
    const std::string text = values_.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
    if (writeFileAtomically(file_, text)) dirty_ = false;
    return !dirty_;
}

}  // namespace corvane::linux_desktop
