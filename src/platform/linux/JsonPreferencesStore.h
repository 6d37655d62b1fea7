#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Diagnostics.h"
#include "platform/MainLoop.h"
#include "platform/PreferencesStore.h"

namespace corvane::linux_desktop {

// The user's preferences in a JSON object file. Booleans, numbers and strings are read and
// written; every other value and every key are kept when the file is written back. A value
// that cannot be held (a number out of range, nesting deeper than kMaxDepth) is kept as the
// text it was written as. Changes are held in memory and written at most a second later, and
// by flush() (which the application calls at exit; the destructor flushes too). Every write
// replaces the file atomically, through a symbolic link when the file is one; a failed write
// is tried again at the next change.
//
// A file that is not a JSON object (empty, cut short, not JSON at all) is moved aside to
// "<name>.broken-<UTC time>" and the store starts empty. A file that cannot be read (no
// permission, not a regular file, over kMaxFileSize) is left alone: the store runs on
// defaults and never writes it in this session. Without a file (no home folder) the store
// lives in memory only. Each of these is reported through the diagnostics. Main thread only;
// the loop outlives the store.
class JsonPreferencesStore final : public PreferencesStore {
  public:
    static constexpr Seconds kFlushDelay{1.0};
    static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;
    static constexpr std::size_t kMaxDepth = 64;

    JsonPreferencesStore(std::optional<std::filesystem::path> file, MainLoop& loop);
    ~JsonPreferencesStore() override;
    JsonPreferencesStore(const JsonPreferencesStore&) = delete;
    JsonPreferencesStore& operator=(const JsonPreferencesStore&) = delete;

    // A number, boolean or string as such; any other JSON value as PropertyValue::Other.
    std::optional<PropertyValue> object(std::string_view key) const override;
    void setBoolean(std::string_view key, bool value) override;
    // JSON holds no NaN or infinity: such a value leaves the key as it was.
    void setDouble(std::string_view key, double value) override;
    void setString(std::string_view key, std::string value);

    // Writes pending changes now; true when the file holds every change.
    bool flush();
    // Where a broken file found at start was moved to.
    const std::optional<std::filesystem::path>& brokenFileMovedTo() const { return movedTo_; }
    // False when changes stay in memory for this session (no file, or one left alone).
    bool writable() const { return writable_; }

  private:
    // A member kept as written: its key's text and its value's text.
    struct KeptMember {
        std::optional<std::string> key;
        std::string text;
    };

    void load();
    void holdWrites(std::string_view reason);
    void moveAside(const std::string& bytes);
    void readMembers(const std::string& bytes);
    void set(std::string_view key, nlohmann::ordered_json value);
    bool write();
    std::string text() const;

    std::optional<std::filesystem::path> file_;
    MainLoop& loop_;
    nlohmann::ordered_json values_ = nlohmann::ordered_json::object();
    // The text each value had in the file, until the application sets it: written back as it
    // was, so numbers a double cannot hold exactly (huge integers, 1e-400, long fractions) and
    // another tool's formatting survive our writes.
    std::map<std::string, std::string, std::less<>> asRead_;
    std::vector<KeptMember> kept_;
    std::optional<std::filesystem::path> movedTo_;
    bool writable_ = true;
    bool dirty_ = false;
    bool flushScheduled_ = false;
    std::unique_ptr<ScheduledWork> scheduledFlush_;
    FailureEpisode writeTrouble_;
};

// <configHome>/corvane-display/preferences.json
std::filesystem::path preferencesFile(const std::filesystem::path& configHome);

}  // namespace corvane::linux_desktop
