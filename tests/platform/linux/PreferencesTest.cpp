#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "FakeTree.h"
#include "platform/linux/JsonPreferencesStore.h"
#include "platform/sim/SimMainLoop.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::FakeTree;

class PreferencesTest : public ::testing::Test {
  protected:
    std::unique_ptr<JsonPreferencesStore> open() {
        return std::make_unique<JsonPreferencesStore>(file, loop);
    }
    json stored() const { return json::parse(tree.read(file.lexically_relative(tree.root()))); }
    std::vector<std::string> brokenFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(file.parent_path()))
            if (entry.path().filename().string().starts_with("preferences.json.broken-"))
                names.push_back(tree.read(entry.path().lexically_relative(tree.root())));
        return names;
    }

    FakeTree tree;
    fs::path file = preferencesFile(tree.path("config"));
    sim::SimMainLoop loop;
};

TEST_F(PreferencesTest, ValuesRoundTripAndUnknownOnesAreKept) {
    EXPECT_EQ(file, tree.path("config/corvane-display/preferences.json"));
    tree.write("config/corvane-display/preferences.json",
               R"({"list": [1, 2], "nothing": null, "nested": {"a": 1}, "old": "text", "n": 3})");
    auto store = open();
    EXPECT_EQ(store->object("list"), PropertyValue(PropertyValue::Other{}));
    EXPECT_EQ(store->object("nothing"), PropertyValue(PropertyValue::Other{}));
    EXPECT_EQ(store->object("nested"), PropertyValue(PropertyValue::Other{}));
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
    EXPECT_EQ(store->object("corvane.brightness.ABC"), PropertyValue(42.5));
    EXPECT_EQ(store->object("name"), PropertyValue("Ünïcode"));
    EXPECT_EQ(store->brokenFileMovedTo(), std::nullopt);
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
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1)
        << "no temporary file left behind";
}

TEST_F(PreferencesTest, BrokenFilesAreKeptAsideAndTheStoreStartsEmpty) {
    for (const char* broken : {"", "{\"a\": tr", "not json", "[1, 2]", "\"text\"", "{} {}"}) {
        SCOPED_TRACE(broken);
        fs::remove_all(file.parent_path());
        tree.write(file.lexically_relative(tree.root()), broken);
        auto store = open();
        EXPECT_EQ(store->object("a"), std::nullopt);
        ASSERT_TRUE(store->brokenFileMovedTo());
        EXPECT_EQ(brokenFiles(), std::vector<std::string>{broken});
        EXPECT_FALSE(fs::exists(file));
        store->setBoolean("a", true);
        EXPECT_TRUE(store->flush());
        EXPECT_EQ(stored(), json::parse(R"({"a": true})"));
    }
    tree.write(file.lexically_relative(tree.root()), "again");
    open();
    tree.write(file.lexically_relative(tree.root()), "and again");
    open();
    EXPECT_EQ(brokenFiles().size(), 3u) << "none overwritten";
}

TEST_F(PreferencesTest, AFailedWriteKeepsTheChangesForTheNextFlush) {
    tree.write("config", "a file where the folder should be");
    auto store = open();
    store->setBoolean("a", true);
    EXPECT_FALSE(store->flush());
    EXPECT_EQ(store->object("a"), PropertyValue(true));
    fs::remove(tree.path("config"));
    EXPECT_TRUE(store->flush());
    EXPECT_EQ(stored(), json::parse(R"({"a": true})"));
}

}  // namespace
}  // namespace corvane::linux_desktop
