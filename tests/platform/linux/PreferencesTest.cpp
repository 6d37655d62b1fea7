#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <nlohmann/json.hpp>

#include "FakeTree.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/sim/SimMainLoop.h"
#include "support/RecordedDiagnostics.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using corvane::testing::RecordedDiagnostics;
using nlohmann::json;
using testing::FakeTree;
constexpr auto kPrefs = DiagnosticTopic::prefs;
constexpr auto kWarning = DiagnosticLevel::warning;
const PropertyValue kOther{PropertyValue::Other{}};

// While it lives, this thread's file accesses are checked as an ordinary user's (nobody's) even
// when the tests run as root (who could otherwise read and write anything).
struct OrdinaryUserFileAccess {
    OrdinaryUserFileAccess() {
        if (geteuid() == 0) setfsuid(65534);
    }
    ~OrdinaryUserFileAccess() {
        if (geteuid() == 0) setfsuid(0);
    }
};

class PreferencesTest : public ::testing::Test {
  protected:
    std::unique_ptr<JsonPreferencesStore> open() {
        return std::make_unique<JsonPreferencesStore>(file, loop);
    }
    json stored() const { return json::parse(tree.read(file)); }
    std::vector<std::string> brokenFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(file.parent_path()))
            if (entry.path().filename().string().starts_with("preferences.json.broken-"))
                names.push_back(tree.read(entry.path()));
        return names;
    }
    std::ptrdiff_t filesBesideIt() const {
        return std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator());
    }
    // A write of the store's change that fails with `reason`: one warning says so, and the file
    // keeps the {"a": false} it held, with no temporary file left beside it.
    void expectRefusedWrite(JsonPreferencesStore& store, const char* reason) {
        EXPECT_FALSE(store.flush());
        EXPECT_EQ(diagnostics.count(kPrefs, kWarning, reason), 1u);
        EXPECT_EQ(stored(), json::parse(R"({"a": false})"));
        EXPECT_EQ(filesBesideIt(), 1) << "no temporary file left behind";
    }

    FakeTree tree;
    fs::path file = preferencesFile(tree.path("config"));
    sim::SimMainLoop loop;
    RecordedDiagnostics diagnostics;
};

TEST_F(PreferencesTest, ValuesRoundTripAndUnknownOnesAreKept) {
    tree.write("config/corvane-display/preferences.json",
               R"({"list": [1, 2], "nothing": null, "nested": {"a": 1}, "old": "text", "n": 3})");
    auto store = open();
    for (const char* other : {"list", "nothing", "nested"})
        EXPECT_EQ(store->object(other), kOther) << other;
    EXPECT_EQ(store->object("old"), PropertyValue("text"));
    EXPECT_EQ(store->object("n"), PropertyValue(3.0));
    EXPECT_EQ(store->object("missing"), std::nullopt);

    store->setBoolean("corvane.syncDisplays", true);
    store->setDouble("corvane.brightness.ABC", 42.5);
    store->setDouble("n", std::numeric_limits<double>::infinity());
    store->setString("name", "Ünïcode");
    EXPECT_TRUE(store->flush());
    EXPECT_EQ(stored(), json::parse(R"({"list": [1, 2], "nothing": null, "nested": {"a": 1},
        "old": "text", "n": 3, "corvane.syncDisplays": true, "corvane.brightness.ABC": 42.5,
        "name": "Ünïcode"})"));

    store = open();
    EXPECT_TRUE(store->boolean("corvane.syncDisplays"));
    EXPECT_EQ(store->object("name"), PropertyValue("Ünïcode"));
}

TEST_F(PreferencesTest, WritesAreBatchedForASecondAndFlushedAtExit) {
    auto store = open();
    store->setBoolean("a", true);
    loop.advance(Seconds(0.5));
    store->setDouble("b", 2);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(loop.scheduledCount(), 1u);
    loop.advance(Seconds(0.5));
    EXPECT_EQ(stored(), json::parse(R"({"a": true, "b": 2})"));
    EXPECT_EQ(loop.scheduledCount(), 0u);

    store->setDouble("b", 3);
    store->setDouble("c", 4);
    EXPECT_TRUE(store->flush());
    EXPECT_EQ(stored(), json::parse(R"({"a": true, "b": 3, "c": 4})"));
    EXPECT_EQ(loop.scheduledCount(), 0u);

    store->setBoolean("a", false);
    store.reset();
    EXPECT_EQ(stored(), json::parse(R"({"a": false, "b": 3, "c": 4})"));
    EXPECT_EQ(loop.scheduledCount(), 0u);
    EXPECT_EQ(filesBesideIt(), 1) << "no temporary file left behind";
}

TEST_F(PreferencesTest, BrokenFilesAreKeptAsideAndTheStoreStartsEmpty) {
    for (const char* broken : {"", "{\"a\": tr", "not json", "[1, 2]", "\"text\"", "{} {}"}) {
        SCOPED_TRACE(broken);
        fs::remove_all(file.parent_path());
        tree.write(file, broken);
        auto store = open();
        EXPECT_EQ(store->object("a"), std::nullopt);
        EXPECT_EQ(brokenFiles(), std::vector<std::string>{broken});
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(diagnostics.count(kPrefs, kWarning, "moved aside to"), 1u);
        diagnostics.clear();
    }
    // The store writes a fresh file afterwards (the symbolic link test below, and the fuzz
    // target preferences_fuzz for every file it makes up).
    tree.write(file, "again");
    open();
    tree.write(file, "and again");
    open();
    EXPECT_EQ(brokenFiles().size(), 3u) << "none overwritten";
}

TEST_F(PreferencesTest, ValuesThatCannotBeHeldAreKeptAsWrittenAndTheRestIsRead) {
    // Nested arrays around one number, far too deep and as deep as is read.
    const std::string deep = std::string(80000, '[') + "1" + std::string(80000, ']');
    const std::string allowed = std::string(JsonPreferencesStore::kMaxDepth, '[') + "1" +
                                std::string(JsonPreferencesStore::kMaxDepth, ']');
    // Values a double holds only approximately are read, and written back as they were.
    const char* approximate = R"("huge": 123456789012345678901234567890, "tiny": 1e-400,)"
                              R"( "tenth": 0.1000000000000000055511151231257827)";
    tree.write(file, R"({"big": 1e400, "list": [1, -2E+999], "level": 40, "deep": )" + deep +
                         R"(, "allowed": )" + allowed + R"(, "replaced": 1e999, "replaced": 3, )" +
                         approximate + "}");
    auto store = open();
    EXPECT_EQ(store->object("level"), PropertyValue(40.0));
    EXPECT_EQ(store->object("replaced"), PropertyValue(3.0)) << "the last member of a key wins";
    EXPECT_EQ(store->object("tiny"), PropertyValue(0.0));
    for (const char* kept : {"big", "list", "deep", "allowed"})
        EXPECT_EQ(store->object(kept), kOther) << kept;
    EXPECT_EQ(diagnostics.count(kPrefs, DiagnosticLevel::info, "kept as written"), 4u);

    store->setDouble("level", 55);
    store->setBoolean("list", true);
    ASSERT_TRUE(store->flush());
    const std::string written = tree.read(file);
    EXPECT_NE(written.find(R"("big": 1e400)"), std::string::npos);
    for (const char* exact : {R"("huge": 123456789012345678901234567890)", R"("tiny": 1e-400)",
                              R"("tenth": 0.1000000000000000055511151231257827)", R"("level": 55)"})
        EXPECT_NE(written.find(exact), std::string::npos) << exact;
    EXPECT_NE(written.find(R"("deep": )" + deep), std::string::npos);
    EXPECT_EQ(written.find("-2E+999"), std::string::npos) << "a kept value the app replaced";

    store = open();
    EXPECT_EQ(store->object("level"), PropertyValue(55.0));
    EXPECT_EQ(store->object("list"), PropertyValue(true));
}

// Preferences that cannot be read (a file that cannot be, or no home folder at all) live in
// memory for the session: nothing is written, and the file is left as it is.
TEST_F(PreferencesTest, PreferencesThatCannotBeReadLiveInMemoryAndTheFileIsLeftAlone) {
    fs::permissions(tree.root(), fs::perms(0755));
    tree.folder("config/corvane-display");
    const std::string big(JsonPreferencesStore::kMaxFileSize + 1, ' ');
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* warning = "running on defaults";
        bool homeless = false;
    };
    const Case cases[] = {
        {"no home folder", [] {}, "kept in memory", true},
        {"named pipe", [&] { ASSERT_EQ(mkfifo(file.c_str(), 0600), 0); }},
        {"folder", [&] { fs::create_directory(file); }},
        {"too large", [&] { tree.write(file, big); }},
        {"no permission",
         [&] {
             tree.write(file, R"({"a": false})");
             fs::permissions(file, fs::perms::none);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(file);
        c.make();
        const std::ptrdiff_t files = filesBesideIt();
        diagnostics.clear();
        alarm(10);  // a read that waits for a writer ends the test program
        {
            OrdinaryUserFileAccess access;
            JsonPreferencesStore store(c.homeless ? std::nullopt : std::optional(file), loop);
            EXPECT_FALSE(store.writable());
            EXPECT_EQ(store.object("a"), std::nullopt);
            store.setBoolean("a", true);
            EXPECT_EQ(store.object("a"), PropertyValue(true)) << "changes live in memory";
            EXPECT_EQ(loop.scheduledCount(), 0u);
            EXPECT_FALSE(store.flush());
        }
        alarm(0);
        EXPECT_EQ(diagnostics.count(kPrefs, kWarning, c.warning), 1u);
        EXPECT_EQ(filesBesideIt(), files) << "left in place, nothing moved aside";
    }
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::none);
    fs::permissions(file, fs::perms(0600));
    EXPECT_EQ(stored(), json::parse(R"({"a": false})"));
}

TEST_F(PreferencesTest, ASymbolicLinkIsWrittenThroughAndStaysALink) {
    tree.write("dotfiles/corvane.json", R"({"kept": 1})");
    tree.link("config/corvane-display/preferences.json", "../../dotfiles/corvane.json");
    auto store = open();
    store->setBoolean("a", true);
    ASSERT_TRUE(store->flush());
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(json::parse(tree.read("dotfiles/corvane.json")),
              json::parse(R"({"kept": 1, "a": true})"));

    fs::remove(tree.path("dotfiles/corvane.json"));
    tree.write("dotfiles/corvane.json", "broken");
    store = open();
    ASSERT_TRUE(store->brokenFileMovedTo());
    EXPECT_TRUE(fs::equivalent(store->brokenFileMovedTo()->parent_path(), tree.path("dotfiles")));
    store->setBoolean("b", true);
    ASSERT_TRUE(store->flush());
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(json::parse(tree.read("dotfiles/corvane.json")), json::parse(R"({"b": true})"));
}

TEST_F(PreferencesTest, AFailedWriteIsReportedOnceAndTriedAgainAtTheNextChange) {
    tree.write("config", "a file where the folder should be");
    auto store = open();
    store->setBoolean("a", true);
    EXPECT_FALSE(store->flush());
    store->setBoolean("b", true);
    loop.advance(JsonPreferencesStore::kFlushDelay);
    EXPECT_EQ(diagnostics.count(kPrefs, kWarning, "cannot be written"), 1u);
    EXPECT_EQ(diagnostics.lines().size(), 1u);

    fs::remove(tree.path("config"));
    store->setBoolean("c", true);
    loop.advance(JsonPreferencesStore::kFlushDelay);
    EXPECT_EQ(stored(), json::parse(R"({"a": true, "b": true, "c": true})"));
    EXPECT_EQ(diagnostics.count(kPrefs, DiagnosticLevel::info, "working again"), 1u);
}

TEST_F(PreferencesTest, AReadOnlyFolderKeepsTheFileAndTheChanges) {
    fs::permissions(tree.root(), fs::perms(0755));
    tree.write(file, R"({"a": false})");
    fs::permissions(file, fs::perms(0644));
    fs::permissions(file.parent_path(), fs::perms(0555));
    OrdinaryUserFileAccess access;
    auto store = open();
    EXPECT_EQ(store->object("a"), PropertyValue(false));
    store->setBoolean("a", true);
    expectRefusedWrite(*store, "Permission denied");
}

// Unmounts a file system when it ends.
struct Mount {
    fs::path point;
    ~Mount() { umount2(point.c_str(), MNT_DETACH); }
};

TEST_F(PreferencesTest, AFullDiskKeepsTheFileAndTheChanges) {
    const fs::path config = tree.folder("config");
    if (mount("tmpfs", config.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "a full disk needs a small tmpfs, which only root can mount: "
                     << std::strerror(errno);
    Mount mounted{config};
    tree.write(file, R"({"a": false})");
    auto store = open();
    store->setString("a", std::string(64 * 1024, 'x'));
    expectRefusedWrite(*store, "No space left on device");
    store->setBoolean("a", true);
    EXPECT_TRUE(store->flush());
    EXPECT_EQ(stored(), json::parse(R"({"a": true})"));
}

}  // namespace
}  // namespace corvane::linux_desktop
