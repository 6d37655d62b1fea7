#include "platform/linux/Edid.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/linux/DisplayIdentities.h"
#include "platform/linux/NameBasedUuid.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = CORVANE_EDID_FIXTURES;

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
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

TEST(EdidTest, ReadsEveryFixtureAsTheTableDescribesIt) {
    std::ifstream table(kFixtures / "expected.tsv");
    ASSERT_TRUE(table) << "EDID fixture table missing: " << kFixtures / "expected.tsv";
    std::string line;
    std::getline(table, line);  // the column names

    int rows = 0;
    while (std::getline(table, line)) {
        const std::vector<std::string> column = split(line, '\t');
        ASSERT_EQ(column.size(), 12u) << line;
        SCOPED_TRACE(column[0]);
        const std::vector<std::uint8_t> bytes = fixture(column[0]);
        std::optional<Edid> edid = parseEdid(bytes);
        ASSERT_TRUE(edid);
        ++rows;

        EXPECT_EQ(edid->vendor, column[1]);
        EXPECT_EQ(edid->vendorCode, std::stoul(column[2], nullptr, 16));
        EXPECT_EQ(edid->product, std::stoul(column[3], nullptr, 16));
        EXPECT_EQ(edid->serial, std::stoul(column[5]));
        EXPECT_EQ(edid->name, unescaped(column[6]));
        EXPECT_EQ(edid->serialText, unescaped(column[7]));
        std::vector<std::string> strings;
        if (!column[8].empty())
            for (const std::string& text : split(column[8], '|'))
                strings.push_back(unescaped(text));
        EXPECT_EQ(edid->alphanumericStrings, strings);
        EXPECT_EQ(edid->blocks, std::stoul(column[9]));
    }
    EXPECT_EQ(rows, 16) << "EDID fixture table incomplete: " << kFixtures / "expected.tsv";
}

TEST(EdidTest, ACorruptOrShortBaseBlockIsNoEdid) {
    const std::vector<std::uint8_t> good = fixture("ACR0009-2928FA.bin");
    ASSERT_EQ(good.size(), 128u);
    EXPECT_FALSE(parseEdid(std::span(good).first(127)));

    std::vector<std::uint8_t> header = good;
    header[0] = 0x01;
    header[127] = static_cast<std::uint8_t>(header[127] - 1);  // the checksum still holds
    EXPECT_FALSE(parseEdid(header));
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
}

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Each EDID fixture's display UUID as it was first issued: the stored levels of existing users
// are filed under them.
struct IssuedUuids {
    const char* fixture;
    const char* uuid;
};
constexpr IssuedUuids kIssued[] = {
    {"ACR0009-2928FA.bin", "22754E45-0E4E-5793-845C-75660E9062FD"},
    {"AOC2460-6A58C8.bin", "BACBE179-B755-577D-844E-AFD1F3F0B7A6"},
    {"AUO102C-605D77.bin", "40F15073-4E26-5600-8FAA-1D0F9CB1CEB4"},
    {"AUS1641-4A5B9E.bin", "C62083B4-6098-55EA-9C7F-D92A3884B8DE"},
    {"BNQ7685-4D87FE.bin", "8E370758-F4B3-53B1-BE8C-3A00A73E655E"},
    {"BOE05DF-042BEA.bin", "B48DE7A3-FD92-50F5-B485-090178EF05AF"},
    {"CMN1132-DF422F.bin", "50FB1B62-CE6F-5A4C-8A4E-6EB095B4EAC2"},
    {"DEL2009-02A6C6.bin", "EB4A63F5-7728-5102-BC99-E279917323A6"},
    {"GSM5B7F-286597.bin", "F48EE2AF-EBCB-5E4E-B4C9-9AAA04CABD93"},
    {"HPN337C-5797DC.bin", "51241C80-2566-58B9-82AE-33312509102A"},
    {"LEN0A0C-1622BA.bin", "0221885D-6DC5-56DB-AFF6-37D507B62C34"},
    {"LGD0201-4B0444.bin", "1CEF558F-858C-5AC4-B9CF-B4C7F5908287"},
    {"PHLC0BE-46B1EF.bin", "9CEEF3A3-1DC4-5752-A85C-E19C13C8BA32"},
    {"SAM0E0F-00DF28.bin", "5004CAAC-0AB0-5E52-866D-49019274B005"},
    {"SDC4C48-188A88.bin", "80EFF503-1EE2-50B0-B85D-42A4E816C594"},
    {"SHP1449-5B210D.bin", "10762406-1607-5A45-81B1-ECCBAAF0930A"}
};

TEST(NameBasedUuid, MatchesTheStandardExampleAndEveryUuidEverIssued) {
    constexpr UuidBytes kDnsNamespace = {0x6b, 0xa7, 0xb8, 0x10, 0x9d, 0xad, 0x11, 0xd1,
                                         0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};
    EXPECT_EQ(nameBasedUuid(kDnsNamespace, bytes("python.org")),
              "886313E1-3B8A-5372-9B90-0C9AEE199E5D");

    for (const IssuedUuids& issued : kIssued) {
        SCOPED_TRACE(issued.fixture);
        std::optional<Edid> edid = parseEdid(fixture(issued.fixture));
        ASSERT_TRUE(edid);
        EXPECT_EQ(nameBasedUuid(kDisplayUuidNamespace, edid->bytes), issued.uuid);
    }

    // Identical monitors are told apart by their connector's name ("DP-1") after the EDID.
    DrmConnector left;
    left.sysfsName = "card0-DP-1";
    left.name = "DP-1";
    left.edid = parseEdid(fixture("DEL2009-02A6C6.bin"));
    DrmConnector right = left;
    right.sysfsName = "card0-DP-2";
    right.name = "DP-2";
    const std::vector<ConnectedDisplay> twins = DisplayIdentities().identify({left, right});
    ASSERT_EQ(twins.size(), 2u);
    EXPECT_EQ(twins[0].uuid, "9A6DEFDE-FE43-555B-9253-CB6C52B88310");
    EXPECT_EQ(twins[1].uuid, "8EC5CE5D-073F-55B5-93E9-C24A045506F7");
}

}  // namespace
}  // namespace corvane::linux_desktop
