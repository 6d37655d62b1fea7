#pragma once

#include <cstdint>

// Stand-ins for the host's private display functions, exported by a shared library linked into
// the display tests so that the process-wide symbol lookup finds them. Each records its last
// call; the bus read fills the buffer with 0xA0, 0xA1, …
extern "C" {

struct FakeCall {
    int count = 0;
    std::uint32_t display = 0, entry = 0, chip = 0, address = 0, length = 0;
    float level = 0;
    const void* object = nullptr;  // the allocator, service or released object passed in
    std::uint8_t firstByte = 0;
};

struct FakeCalls {
    FakeCall getBrightness, setBrightness, infoDictionary, create, read, write, release;
};

FakeCalls* fakeCalls();
void resetFakeCalls();
void* fakeService();

inline constexpr float kFakeBrightness = 0.625f;

std::int32_t DisplayServicesGetBrightness(std::uint32_t display, float* level);
std::int32_t DisplayServicesSetBrightness(std::uint32_t display, float level);
void* CoreDisplay_DisplayCreateInfoDictionary(std::uint32_t display);
void* IOAVServiceCreateWithService(void* allocator, std::uint32_t entry);
std::int32_t IOAVServiceReadI2C(void* service, std::uint32_t chip, std::uint32_t offset,
                                void* buffer, std::uint32_t length);
std::int32_t IOAVServiceWriteI2C(void* service, std::uint32_t chip, std::uint32_t dataAddress,
                                 void* buffer, std::uint32_t length);
void CFRelease(const void* object);
}
