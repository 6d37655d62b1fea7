#include "platform/linux/NameBasedUuid.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/linux/Edid.h"
#include "platform/linux/SysfsFiles.h"

namespace corvane::linux_desktop {
namespace {

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Each EDID fixture's display UUID, and the UUID of its twin on connector "card0-DP-1", as
// they were first issued: the stored levels of existing users are filed under them.
struct IssuedUuids {
    const char* fixture;
    const char* alone;
    const char* twin;
};
constexpr IssuedUuids kIssued[] = {
    {"ACR0009-2928FA.bin", "22754E45-0E4E-5793-845C-75660E9062FD", "41B7EB4B-09AA-5427-9981-42180688D28D"},
    {"AOC2460-6A58C8.bin", "BACBE179-B755-577D-844E-AFD1F3F0B7A6", "5FE6C9C7-0264-5B81-AFD9-B464EAE81FCF"},
    {"AUO102C-605D77.bin", "40F15073-4E26-5600-8FAA-1D0F9CB1CEB4", "6CCF233A-EA1E-5729-BC49-FEC1C8BAC106"},
    {"AUS1641-4A5B9E.bin", "C62083B4-6098-55EA-9C7F-D92A3884B8DE", "EEE35040-4713-5E31-8E05-F882866A21ED"},
    {"BNQ7685-4D87FE.bin", "8E370758-F4B3-53B1-BE8C-3A00A73E655E", "096533C4-6A4A-572F-94F2-9625EC904D3C"},
    {"BOE05DF-042BEA.bin", "B48DE7A3-FD92-50F5-B485-090178EF05AF", "CB841B90-F194-5AA8-9FE3-3FF769E20667"},
    {"CMN1132-DF422F.bin", "50FB1B62-CE6F-5A4C-8A4E-6EB095B4EAC2", "94834168-E0D5-5193-BDF9-B7662BD74B8B"},
    {"DEL2009-02A6C6.bin", "EB4A63F5-7728-5102-BC99-E279917323A6", "395A2803-F69C-5C20-987B-C6CF83F7A918"},
    {"GSM5B7F-286597.bin", "F48EE2AF-EBCB-5E4E-B4C9-9AAA04CABD93", "76C126FC-FBB4-54E6-B7B3-E80AF8C6D827"},
    {"HPN337C-5797DC.bin", "51241C80-2566-58B9-82AE-33312509102A", "6D702784-DAD5-52E0-8E24-E93697378BD6"},
    {"LEN0A0C-1622BA.bin", "0221885D-6DC5-56DB-AFF6-37D507B62C34", "C61D812E-9F72-5B00-8942-9D0496A366D8"},
    {"LGD0201-4B0444.bin", "1CEF558F-858C-5AC4-B9CF-B4C7F5908287", "35E3ADB6-1FF8-5A39-A332-4A8325F91981"},
    {"PHLC0BE-46B1EF.bin", "9CEEF3A3-1DC4-5752-A85C-E19C13C8BA32", "97C2508E-692F-59DB-8DE8-754763C2D453"},
    {"SAM0E0F-00DF28.bin", "5004CAAC-0AB0-5E52-866D-49019274B005", "48736900-268A-5DE4-BDE1-4057815FE7C6"},
    {"SDC4C48-188A88.bin", "80EFF503-1EE2-50B0-B85D-42A4E816C594", "91D59519-5018-5BB3-8F81-663D2B67C4C0"},
    {"SHP1449-5B210D.bin", "10762406-1607-5A45-81B1-ECCBAAF0930A", "D6D7C42E-F709-5D41-884B-387098CD5511"}
};

TEST(NameBasedUuid, MatchesTheStandardExampleAndEveryUuidEverIssued) {
    constexpr UuidBytes kDnsNamespace = {0x6b, 0xa7, 0xb8, 0x10, 0x9d, 0xad, 0x11, 0xd1,
                                         0x80, 0xb4, 0x00, 0xc0, 0x4f, 0xd4, 0x30, 0xc8};
    EXPECT_EQ(nameBasedUuid(kDnsNamespace, bytes("python.org")),
              "886313E1-3B8A-5372-9B90-0C9AEE199E5D");

    for (const IssuedUuids& issued : kIssued) {
        SCOPED_TRACE(issued.fixture);
        const auto data = readBytes(std::filesystem::path(CORVANE_EDID_FIXTURES) / issued.fixture);
        ASSERT_TRUE(data);
        std::optional<Edid> edid = parseEdid(*data);
        ASSERT_TRUE(edid);
        EXPECT_EQ(nameBasedUuid(kDisplayUuidNamespace, edid->bytes), issued.alone);
        std::vector<std::uint8_t> twin = edid->bytes;
        for (char c : std::string_view("card0-DP-1")) twin.push_back(static_cast<std::uint8_t>(c));
        EXPECT_EQ(nameBasedUuid(kDisplayUuidNamespace, twin), issued.twin);
    }
}

}  // namespace
}  // namespace corvane::linux_desktop
