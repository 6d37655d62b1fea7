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

// The file a symbol of this process was loaded from.
const char* imageOf(const void* address) {
    Dl_info info{};
    return dladdr(address, &info) != 0 ? info.dli_fname : nullptr;
}

class DynamicAPITest : public ::testing::Test {
protected:
    void SetUp() override { resetFakePrivateCalls(); }
    static FakePrivateCalls& calls() { return *fakePrivateCalls(); }
};

TEST_F(DynamicAPITest, LoadOpensTheFirstPathThatExists) {
    const char* fakeImage = imageOf(reinterpret_cast<void*>(&DisplayServicesGetBrightness));
    const char* libcImage = imageOf(reinterpret_cast<void*>(&std::puts));
    ASSERT_NE(fakeImage, nullptr);
    ASSERT_NE(libcImage, nullptr);
    void* fakeHandle = dlopen(fakeImage, RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(fakeHandle, nullptr);

    std::array paths = {"/nonexistent/DisplayServices", fakeImage, libcImage};
    EXPECT_EQ(DynamicAPI::load(paths), fakeHandle);
    std::array missing = {"/nonexistent/DisplayServices", "/nonexistent/CoreDisplay"};
    EXPECT_EQ(DynamicAPI::load(missing), nullptr);
    EXPECT_EQ(DynamicAPI::load({}), nullptr);
    dlclose(fakeHandle);
}

TEST_F(DynamicAPITest, SymbolFallsBackToTheWholeProcess) {
    void* expected = reinterpret_cast<void*>(&IOAVServiceReadI2C);
    void* fakeHandle = dlopen(imageOf(expected), RTLD_LAZY | RTLD_NOLOAD);
    void* libcHandle = dlopen(imageOf(reinterpret_cast<void*>(&std::puts)), RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(fakeHandle, nullptr);
    ASSERT_NE(libcHandle, nullptr);

    EXPECT_EQ(DynamicAPI::symbol(fakeHandle, "IOAVServiceReadI2C"), expected);
    EXPECT_EQ(DynamicAPI::symbol(libcHandle, "IOAVServiceReadI2C"), expected);
    EXPECT_EQ(DynamicAPI::symbol(nullptr, "IOAVServiceReadI2C"), expected);
    EXPECT_EQ(DynamicAPI::symbol(fakeHandle, "IOAVServiceNoSuchFunction"), nullptr);
    dlclose(fakeHandle);
    dlclose(libcHandle);
}

TEST_F(DynamicAPITest, ResolvesAndCallsAllSixFunctions) {
    const DisplayServicesAPI& displayServices = DisplayServicesAPI::shared();
    const CoreDisplayAPI& coreDisplay = CoreDisplayAPI::shared();
    const AVServiceAPI& avService = AVServiceAPI::shared();
    ASSERT_EQ(displayServices.getBrightness, &DisplayServicesGetBrightness);
    ASSERT_EQ(displayServices.setBrightness, &DisplayServicesSetBrightness);
    ASSERT_EQ(coreDisplay.infoDictionary, &CoreDisplay_DisplayCreateInfoDictionary);
    ASSERT_EQ(avService.create, &IOAVServiceCreateWithService);
    ASSERT_EQ(avService.read, &IOAVServiceReadI2C);
    ASSERT_EQ(avService.write, &IOAVServiceWriteI2C);
    EXPECT_EQ(&DisplayServicesAPI::shared(), &displayServices);

    float level = -1;
    EXPECT_EQ(displayServices.getBrightness(7, &level), 0);
    EXPECT_EQ(level, kFakeBrightness);
    EXPECT_EQ(calls().display, 7u);
    EXPECT_EQ(displayServices.setBrightness(8, 0.25f), 0);
    EXPECT_EQ(calls().display, 8u);
    EXPECT_EQ(calls().level, 0.25f);
    EXPECT_EQ(coreDisplay.infoDictionary(9), fakeInfoDictionary());
    EXPECT_EQ(calls().display, 9u);

    int allocator = 0;
    void* service = avService.create(&allocator, 0x1234);
    EXPECT_EQ(service, fakeService());
    EXPECT_EQ(calls().allocator, &allocator);
    EXPECT_EQ(calls().entry, 0x1234u);
    std::array<std::uint8_t, 3> reply{};
    EXPECT_EQ(avService.read(service, 0x37, 0x51, reply.data(), 3), 0);
    EXPECT_EQ(reply, (std::array<std::uint8_t, 3>{0xA0, 0xA1, 0xA2}));
    std::array<std::uint8_t, 2> request{0x01, 0x10};
    EXPECT_EQ(avService.write(service, 0x37, 0x51, request.data(), 2), 0);
    EXPECT_EQ(calls().written[1], 0x10);
    EXPECT_EQ(calls().getBrightness + calls().setBrightness + calls().infoDictionary +
                  calls().create + calls().read + calls().write,
              6);
}

TEST_F(DynamicAPITest, AdapterPassesEveryCallThrough) {
    PrivateDisplayFunctions functions = hostPrivateFunctions();
    ASSERT_TRUE(functions.getBrightness && functions.setBrightness && functions.createAVService &&
                functions.readI2C && functions.writeI2C);
    EXPECT_FALSE(functions.infoDictionary);

    float level = 0;
    EXPECT_EQ(functions.getBrightness(3, &level), 0);
    EXPECT_EQ(level, kFakeBrightness);
    EXPECT_EQ(calls().display, 3u);
    EXPECT_EQ(functions.setBrightness(4, 0.75f), 0);
    EXPECT_EQ(calls().display, 4u);
    EXPECT_EQ(calls().level, 0.75f);

    EXPECT_EQ(functions.createAVService(0), nullptr);
    AVServiceHandle service = functions.createAVService(0x2222);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(calls().allocator, nullptr);
    EXPECT_EQ(calls().entry, 0x2222u);

    std::vector<std::uint8_t> reply(5);
    EXPECT_EQ(functions.readI2C(*service, 0x37, 0x51, reply), 0);
    EXPECT_EQ(calls().service, fakeService());
    EXPECT_EQ(calls().chip, 0x37u);
    EXPECT_EQ(calls().address, 0x51u);
    EXPECT_EQ(calls().length, 5u);
    EXPECT_EQ(reply, (std::vector<std::uint8_t>{0xA0, 0xA1, 0xA2, 0xA3, 0xA4}));

    const std::array<std::uint8_t, 4> request{0x82, 0x01, 0x10, 0xAC};
    EXPECT_EQ(functions.writeI2C(*service, 0x37, 0x51, request), 0);
    EXPECT_EQ(calls().service, fakeService());
    EXPECT_EQ(calls().length, 4u);
    EXPECT_EQ(calls().written[0], 0x82);
    EXPECT_EQ(calls().written[3], 0xAC);

    EXPECT_EQ(calls().release, 0);
    service.reset();
    EXPECT_EQ(calls().release, 1);
    EXPECT_EQ(calls().released, fakeService());
}

TEST_F(DynamicAPITest, AdapterRefusesServicesItDidNotMake) {
    struct ForeignService final : AVService {};
    ForeignService foreign;
    std::array<std::uint8_t, 2> buffer{};
    PrivateDisplayFunctions functions = hostPrivateFunctions();

    EXPECT_NE(functions.readI2C(foreign, 0x37, 0x51, buffer), 0);
    EXPECT_NE(functions.writeI2C(foreign, 0x37, 0x51, std::span<const std::uint8_t>(buffer)), 0);
    EXPECT_EQ(calls().read + calls().write, 0);
}

TEST_F(DynamicAPITest, AdapterLeavesMissingFunctionsAbsent) {
    PrivateDisplayFunctions functions = hostPrivateFunctions({}, {});
    EXPECT_FALSE(functions.getBrightness);
    EXPECT_FALSE(functions.setBrightness);
    EXPECT_FALSE(functions.infoDictionary);
    EXPECT_FALSE(functions.createAVService);
    EXPECT_FALSE(functions.readI2C);
    EXPECT_FALSE(functions.writeI2C);
}

}  // namespace
}  // namespace corvane
