#include "display/DynamicAPI.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <vector>

#include "display/HostPrivateFunctions.h"
#include "display/fake_private_functions/FakePrivateFunctions.h"

namespace corvane {
namespace {

// The already loaded library that holds `address`.
void* libraryOf(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD) : nullptr;
}

const char* pathOf(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) ? info.dli_fname : nullptr;
}

// Chip, offset or data address, and length of a bus call.
using BusArguments = std::array<std::uint32_t, 3>;
BusArguments busArguments(const FakeCall& call) {
    return {call.chip, call.address, call.length};
}

class DynamicAPITest : public ::testing::Test {
protected:
    void SetUp() override { resetFakeCalls(); }
    FakeCalls& calls = *fakeCalls();
};

TEST_F(DynamicAPITest, LoadsTheFirstLibraryAndLooksSymbolsUpEverywhere) {
    auto* readI2C = reinterpret_cast<void*>(&IOAVServiceReadI2C);
    auto* puts = reinterpret_cast<void*>(&std::puts);
    void* fake = libraryOf(readI2C);
    void* libc = libraryOf(puts);
    ASSERT_TRUE(fake && libc);

    std::array paths = {"/nonexistent/DisplayServices", pathOf(readI2C), pathOf(puts)};
    EXPECT_EQ(DynamicAPI::load(paths), fake);
    EXPECT_EQ(DynamicAPI::load(std::span(paths).first(1)), nullptr);

    EXPECT_EQ(DynamicAPI::symbol(fake, "IOAVServiceReadI2C"), readI2C);
    EXPECT_EQ(DynamicAPI::symbol(libc, "IOAVServiceReadI2C"), readI2C);
    EXPECT_EQ(DynamicAPI::symbol(nullptr, "IOAVServiceReadI2C"), readI2C);
    EXPECT_EQ(DynamicAPI::symbol(fake, "IOAVServiceNoSuchFunction"), nullptr);
    dlclose(fake);
    dlclose(libc);
}

// The adapter's calls reaching the stand-ins show the five functions it uses were resolved.
TEST_F(DynamicAPITest, AdapterCallsTheResolvedHostFunctions) {
    PrivateDisplayFunctions functions = hostPrivateFunctions();
    EXPECT_FALSE(functions.infoDictionary);
    auto infoDictionary = CoreDisplayAPI::shared().infoDictionary;
    ASSERT_EQ(infoDictionary, &CoreDisplay_DisplayCreateInfoDictionary);
    EXPECT_EQ(infoDictionary(9), fakeService());
    EXPECT_EQ(calls.infoDictionary.display, 9u);

    float level = 0;
    EXPECT_EQ(functions.getBrightness(3, &level), 0);
    EXPECT_EQ(level, kFakeBrightness);
    EXPECT_EQ(calls.getBrightness.display, 3u);
    EXPECT_EQ(functions.setBrightness(4, 0.75f), 0);
    EXPECT_EQ(calls.setBrightness.display, 4u);
    EXPECT_EQ(calls.setBrightness.level, 0.75f);

    EXPECT_EQ(functions.createAVService(0), nullptr);
    AVServiceHandle service = functions.createAVService(0x2222);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(calls.create.object, nullptr);
    EXPECT_EQ(calls.create.entry, 0x2222u);

    std::vector<std::uint8_t> reply(3);
    EXPECT_EQ(functions.readI2C(*service, 0x37, 0x51, reply), 0);
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{0xA0, 0xA1, 0xA2}));
    EXPECT_EQ(calls.read.object, fakeService());
    EXPECT_EQ(busArguments(calls.read), (BusArguments{0x37, 0x51, 3}));

    const std::array<std::uint8_t, 4> request{0x82, 0x01, 0x10, 0xAC};
    EXPECT_EQ(functions.writeI2C(*service, 0x37, 0x50, request), 0);
    EXPECT_EQ(calls.write.object, fakeService());
    EXPECT_EQ(busArguments(calls.write), (BusArguments{0x37, 0x50, 4}));
    EXPECT_EQ(calls.write.firstByte, 0x82);

    service.reset();
    EXPECT_EQ(calls.release.count, 1);
    EXPECT_EQ(calls.release.object, fakeService());
}

TEST_F(DynamicAPITest, AdapterOffersOnlyWhatItCanCall) {
    struct ForeignService final : AVService {};
    ForeignService foreign;
    std::array<std::uint8_t, 2> buffer{};
    PrivateDisplayFunctions functions = hostPrivateFunctions();
    EXPECT_NE(functions.readI2C(foreign, 0x37, 0x51, buffer), 0);
    EXPECT_NE(functions.writeI2C(foreign, 0x37, 0x51, std::span<const std::uint8_t>(buffer)), 0);
    EXPECT_EQ(calls.read.count + calls.write.count, 0);

    PrivateDisplayFunctions none = hostPrivateFunctions({}, {});
    EXPECT_FALSE(none.getBrightness || none.setBrightness || none.infoDictionary ||
                 none.createAVService || none.readI2C || none.writeI2C);
}

}  // namespace
}  // namespace corvane
