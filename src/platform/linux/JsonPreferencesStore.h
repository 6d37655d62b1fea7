#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/MainLoop.h"
#include "platform/PreferencesStore.h"

namespace corvane::linux_desktop {

// The user's preferences in a JSON object file. Booleans, numbers and strings are read and
// written; every other value and every key are kept as they are when the file is written
// back. Changes are held in memory and written at most a second later, and by flush() (which
// the application calls at exit; the destructor flushes too). Every write replaces the file
// atomically. A file that is not a JSON object (empty, cut short, not JSON at all) is moved
// aside to "<name>.broken-<UTC time>" and the store starts empty. Main thread only; the loop
// outlives the store.
class JsonPreferencesStore final : public PreferencesStore {
  public:
    static constexpr Seconds kFlushDelay{1.0};

    JsonPreferencesStore(std::filesystem::path file, MainLoop& loop);
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

  private:
    void load();
    void set(std::string_view key, nlohmann::ordered_json value);
    bool write();

    std::filesystem::path file_;
    MainLoop& loop_;
    nlohmann::ordered_json values_ = nlohmann::ordered_json::object();
    std::optional<std::filesystem::path> movedTo_;
    bool dirty_ = false;
    bool flushScheduled_ = false;
    std::unique_ptr<ScheduledWork> scheduledFlush_;
};

// <configHome>/corvane-display/preferences.json
std::filesystem::path preferencesFile(const std::filesystem::path& configHome);

}  // namespace corvane::linux_desktop
