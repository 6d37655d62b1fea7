#pragma once

#include <cstdint>

// A stand-in for the host's private display functions, exported by a shared library linked
// into the display tests, so that the process-wide symbol lookup finds them. Every call is
// recorded; the bus read fills the buffer with 0xA0, 0xA1, …
extern "C" {

struct FakePrivateCalls {
    int getBrightness = 0;
    int setBrightness = 0;
    int infoDictionary = 0;
    int create = 0;
    int read = 0;
    int write = 0;
    int release = 0;

    std::uint32_t display = 0;
    float level = 0;
    void* allocator = nullptr;
    std::uint32_t entry = 0;
    void* service = nullptr;
    std::uint32_t chip = 0;
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    std::uint8_t written[8] = {};
    const void* released = nullptr;
};

// What the fakes saw since the last reset.
FakePrivateCalls* fakePrivateCalls();
void resetFakePrivateCalls();

// What the fakes hand out: the brightness read, the info dictionary and the service object.
inline constexpr float kFakeBrightness = 0.625f;
void* fakeInfoDictionary();
void* fakeService();

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
