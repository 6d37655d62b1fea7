#include "platform/linux/Edid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = CORVANE_EDID_FIXTURES;

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
    if (!line.empty() && line.back() == separator) fields.emplace_back();
    return fields;
}

// Undoes the table's lower-case \xNN escapes.
std::string unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 4 <= text.size()) {
            result.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
            i += 3;
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

// A fixture's bytes; a missing file fails the test with the folder it was looked for in.
std::vector<std::uint8_t> fixture(const std::string& name) {
    std::optional<std::vector<std::uint8_t>> bytes = readBytes(kFixtures / name);
    if (!bytes) ADD_FAILURE() << "EDID fixture " << name << " missing from " << kFixtures;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

std::size_t binaryFilesIn(const fs::path& folder) {
    std::error_code error;
    std::size_t count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".bin") ++count;
    return count;
}

TEST(EdidTest, ReadsEveryFixtureAsTheTableDescribesIt) {
    std::ifstream table(kFixtures / "expected.tsv");
    ASSERT_TRUE(table) << "EDID fixture table missing: " << kFixtures / "expected.tsv";
    ASSERT_EQ(binaryFilesIn(kFixtures), 16u) << "EDID fixture folder incomplete: " << kFixtures;
    std::string line;
    std::getline(table, line);
    ASSERT_EQ(split(line, '\t').size(), 12u) << line;

    int rows = 0;
    while (std::getline(table, line)) {
        const std::vector<std::string> column = split(line, '\t');
        ASSERT_EQ(column.size(), 12u) << line;
        SCOPED_TRACE(column[0]);
        const std::vector<std::uint8_t> bytes = fixture(column[0]);
        ASSERT_FALSE(bytes.empty());
        std::optional<Edid> edid = parseEdid(bytes);
        ASSERT_TRUE(edid);
        ++rows;

        EXPECT_EQ(edid->vendor, column[1]);
        EXPECT_EQ(edid->vendorCode, std::stoul(column[2], nullptr, 16));
        EXPECT_EQ(edid->product, std::stoul(column[3], nullptr, 16));
        EXPECT_EQ(edid->product, std::stoul(column[4]));
        EXPECT_EQ(edid->serial, std::stoul(column[5]));
        EXPECT_EQ(edid->name, unescaped(column[6]));
        EXPECT_EQ(edid->serialText, unescaped(column[7]));
        std::vector<std::string> strings;
        if (!column[8].empty())
            for (const std::string& text : split(column[8], '|'))
                strings.push_back(unescaped(text));
        EXPECT_EQ(edid->alphanumericStrings, strings);
        EXPECT_EQ(edid->blocks, std::stoul(column[9]));
        EXPECT_EQ(edid->bytes, bytes);
    }
    EXPECT_EQ(rows, 16) << "EDID fixture table incomplete: " << kFixtures / "expected.tsv";
}

TEST(EdidTest, ACorruptOrShortBaseBlockIsNoEdid) {
    const std::vector<std::uint8_t> good = fixture("ACR0009-2928FA.bin");
    ASSERT_EQ(good.size(), 128u);
    EXPECT_FALSE(parseEdid({}));
    EXPECT_FALSE(parseEdid(std::span(good).first(127)));

    std::vector<std::uint8_t> header = good;
    header[0] = 0x01;
    header[127] = static_cast<std::uint8_t>(header[127] - 1);  // the checksum still holds
    EXPECT_FALSE(parseEdid(header));

    std::vector<std::uint8_t> checksum = good;
    checksum[20] ^= 0x10;
    EXPECT_FALSE(parseEdid(checksum));
}

TEST(EdidTest, KeepsOnlyTheIntactBlocksTheBaseBlockAnnounces) {
    const std::vector<std::uint8_t> two = fixture("AOC2460-6A58C8.bin");
    ASSERT_EQ(two.size(), 256u);
    auto blocks = [](std::span<const std::uint8_t> bytes) {
        std::optional<Edid> edid = parseEdid(bytes);
        return edid ? std::optional(std::pair(edid->blocks, edid->bytes.size())) : std::nullopt;
    };
    EXPECT_EQ(blocks(two), std::pair(std::size_t{2}, std::size_t{256}));
    EXPECT_EQ(blocks(std::span(two).first(200)), std::pair(std::size_t{1}, std::size_t{128}));

    std::vector<std::uint8_t> badExtension = two;
    badExtension[130] ^= 0x01;
    EXPECT_EQ(blocks(badExtension), std::pair(std::size_t{1}, std::size_t{128}));

    std::vector<std::uint8_t> trailing = two;
    trailing.resize(384, 0);  // a zero block sums to zero but was never announced
    EXPECT_EQ(blocks(trailing), std::pair(std::size_t{2}, std::size_t{256}));
    EXPECT_EQ(parseEdid(trailing)->name, "2460G4");
}

}  // namespace
}  // namespace corvane::linux_desktop
