#include "FakePrivateFunctions.h"

#include <algorithm>

namespace {

FakePrivateCalls calls;
int infoDictionaryObject;
int serviceObject;

}  // namespace

extern "C" {

FakePrivateCalls* fakePrivateCalls() { return &calls; }
void resetFakePrivateCalls() { calls = FakePrivateCalls{}; }
void* fakeInfoDictionary() { return &infoDictionaryObject; }
void* fakeService() { return &serviceObject; }

std::int32_t DisplayServicesGetBrightness(std::uint32_t display, float* level) {
    ++calls.getBrightness;
    calls.display = display;
    *level = kFakeBrightness;
    return 0;
}

std::int32_t DisplayServicesSetBrightness(std::uint32_t display, float level) {
    ++calls.setBrightness;
    calls.display = display;
    calls.level = level;
    return 0;
}

void* CoreDisplay_DisplayCreateInfoDictionary(std::uint32_t display) {
    ++calls.infoDictionary;
    calls.display = display;
    return fakeInfoDictionary();
}

// Entry 0 is no service.
void* IOAVServiceCreateWithService(void* allocator, std::uint32_t entry) {
    ++calls.create;
    calls.allocator = allocator;
    calls.entry = entry;
    return entry == 0 ? nullptr : fakeService();
}

std::int32_t IOAVServiceReadI2C(void* service, std::uint32_t chip, std::uint32_t offset,
                                void* buffer, std::uint32_t length) {
    ++calls.read;
    calls.service = service;
    calls.chip = chip;
    calls.address = offset;
    calls.length = length;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    for (std::uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    return 0;
}

std::int32_t IOAVServiceWriteI2C(void* service, std::uint32_t chip, std::uint32_t dataAddress,
                                 void* buffer, std::uint32_t length) {
    ++calls.write;
    calls.service = service;
    calls.chip = chip;
    calls.address = dataAddress;
    calls.length = length;
    std::copy_n(static_cast<const std::uint8_t*>(buffer),
                std::min<std::uint32_t>(length, sizeof calls.written), calls.written);
    return 0;
}

void CFRelease(const void* object) {
    ++calls.release;
    calls.released = object;
}
}
