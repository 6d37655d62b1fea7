#include "FakePrivateFunctions.h"

namespace {

FakeCalls calls;
int serviceObject;

FakeCall& record(FakeCall& call) {
    ++call.count;
    return call;
}

}  // namespace

extern "C" {

FakeCalls* fakeCalls() {
    return &calls;
}
void resetFakeCalls() {
    calls = FakeCalls{};
}
void* fakeService() {
    return &serviceObject;
}

std::int32_t DisplayServicesGetBrightness(std::uint32_t display, float* level) {
    record(calls.getBrightness).display = display;
    *level = kFakeBrightness;
    return 0;
}

std::int32_t DisplayServicesSetBrightness(std::uint32_t display, float level) {
    record(calls.setBrightness).display = display;
    calls.setBrightness.level = level;
    return 0;
}

// Hands out the service object; the caller only compares it.
void* CoreDisplay_DisplayCreateInfoDictionary(std::uint32_t display) {
    record(calls.infoDictionary).display = display;
    return fakeService();
}

// Entry 0 is no service.
void* IOAVServiceCreateWithService(void* allocator, std::uint32_t entry) {
    record(calls.create).object = allocator;
    calls.create.entry = entry;
    return entry == 0 ? nullptr : fakeService();
}

std::int32_t IOAVServiceReadI2C(void* service, std::uint32_t chip, std::uint32_t offset,
                                void* buffer, std::uint32_t length) {
    record(calls.read) = {calls.read.count, 0, 0, chip, offset, length, 0, service, 0};
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    for (std::uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    return 0;
}

std::int32_t IOAVServiceWriteI2C(void* service, std::uint32_t chip, std::uint32_t dataAddress,
                                 void* buffer, std::uint32_t length) {
    std::uint8_t first = length > 0 ? *static_cast<const std::uint8_t*>(buffer) : 0;
    record(calls.write) = {calls.write.count, 0, 0, chip, dataAddress, length, 0, service, first};
    return 0;
}

void CFRelease(const void* object) {
    record(calls.release).object = object;
}
}
