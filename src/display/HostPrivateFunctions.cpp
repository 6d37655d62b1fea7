#include "display/HostPrivateFunctions.h"

#include <limits>

namespace corvane {
namespace {

// The host's status for a call it cannot make sense of.
constexpr std::int32_t kBadArgument = -536870206;

// A retained AV service of the host, released through the host's reference counting when
// the process has it.
class HostAVService final : public AVService {
public:
    explicit HostAVService(void* service) : service_(service) {}
    ~HostAVService() override {
        using Release = void (*)(const void*);
        static const auto release =
            reinterpret_cast<Release>(DynamicAPI::symbol(nullptr, "CFRelease"));
        if (release) release(service_);
    }
    HostAVService(const HostAVService&) = delete;
    HostAVService& operator=(const HostAVService&) = delete;

    void* get() const { return service_; }

private:
    void* service_;
};

// The host's own service behind `service`, or null when it came from elsewhere.
void* hostServiceOf(AVService& service) {
    auto* host = dynamic_cast<HostAVService*>(&service);
    return host ? host->get() : nullptr;
}

bool fitsLength(std::size_t size) {
    return size <= std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

PrivateDisplayFunctions hostPrivateFunctions(const DisplayServicesAPI& displayServices,
                                             const AVServiceAPI& avService) {
    PrivateDisplayFunctions functions;
    if (auto get = displayServices.getBrightness) functions.getBrightness = get;
    if (auto set = displayServices.setBrightness) functions.setBrightness = set;
    if (auto create = avService.create) {
        functions.createAVService = [create](RegistryEntryID entry) -> AVServiceHandle {
            void* service = create(nullptr, entry);
            if (!service) return nullptr;
            return std::make_shared<HostAVService>(service);
        };
    }
    if (auto read = avService.read) {
        functions.readI2C = [read](AVService& service, std::uint32_t chip, std::uint32_t offset,
                                   std::span<std::uint8_t> buffer) -> std::int32_t {
            void* host = hostServiceOf(service);
            if (!host || !fitsLength(buffer.size())) return kBadArgument;
            return read(host, chip, offset, buffer.data(),
                        static_cast<std::uint32_t>(buffer.size()));
        };
    }
    if (auto write = avService.write) {
        // The host's signature takes a mutable buffer but only reads from it.
        functions.writeI2C = [write](AVService& service, std::uint32_t chip,
                                     std::uint32_t dataAddress,
                                     std::span<const std::uint8_t> buffer) -> std::int32_t {
            void* host = hostServiceOf(service);
            if (!host || !fitsLength(buffer.size())) return kBadArgument;
            return write(host, chip, dataAddress, const_cast<std::uint8_t*>(buffer.data()),
                         static_cast<std::uint32_t>(buffer.size()));
        };
    }
    return functions;
}

PrivateDisplayFunctions hostPrivateFunctions() {
    return hostPrivateFunctions(DisplayServicesAPI::shared(), AVServiceAPI::shared());
}

}  // namespace corvane
