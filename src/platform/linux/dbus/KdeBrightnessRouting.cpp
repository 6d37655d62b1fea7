#include "platform/linux/dbus/KdeBrightnessRouting.h"

#include <atomic>
#include <cerrno>
#include <cmath>
#include <vector>

#include "ddc/DDCProtocol.h"

namespace corvane::linux_desktop {
namespace {

constexpr std::uint8_t kBrightnessCode = 0x10;
constexpr std::int32_t kFailure = -1;

// A monitor Plasma drives, standing where its i2c-dev bus would: Get VCP brightness requests
// are answered from Plasma's level and maximum, Set VCP brightness requests become Plasma's
// SetBrightness. Any other request is refused. Transfers come from the monitor's own queue.
class KdeMonitorService final : public AVService {
  public:
    explicit KdeMonitorService(std::shared_ptr<KdeDisplay> display)
        : display_(std::move(display)) {}

    // A frame is 0x80 + length + 1, the payload length, the payload, a checksum; a payload of
    // one byte asks for a reading, one of three sets a value.
    std::int32_t write(std::span<const std::uint8_t> frame) {
        if (frame.size() < 4 || frame[2] != kBrightnessCode) return EIO;
        if (frame[1] == 1) {
            asked_ = true;
            return 0;
        }
        if (frame[1] != 3 || frame.size() < 6) return EIO;
        display_->setBrightness((frame[3] << 8) | frame[4]);
        return 0;
    }

    std::int32_t read(std::span<std::uint8_t> reply) {
        if (!asked_.exchange(false) || reply.size() < DDCProtocol::kReplyLength) return EIO;
        const auto max = static_cast<std::uint16_t>(display_->maxBrightness());
        const auto current = static_cast<std::uint16_t>(display_->brightness());
        std::fill(reply.begin(), reply.end(), std::uint8_t(0));
        reply[2] = DDCProtocol::kReplyOpcode;
        reply[4] = kBrightnessCode;
        reply[6] = static_cast<std::uint8_t>(max >> 8);
        reply[7] = static_cast<std::uint8_t>(max & 0xFF);
        reply[8] = static_cast<std::uint8_t>(current >> 8);
        reply[9] = static_cast<std::uint8_t>(current & 0xFF);
        return 0;
    }

  private:
    std::shared_ptr<KdeDisplay> display_;
    std::atomic<bool> asked_{false};
};

// The "ProductName" inside a display pipe's attributes.
std::string productName(IORegistry& registry, RegistryEntryID pipe) {
    std::optional<PropertyValue> attributes = registry.property(pipe, "DisplayAttributes");
    const Dictionary* outer = attributes ? attributes->dictionary() : nullptr;
    const PropertyValue* product = outer ? find(*outer, "ProductAttributes") : nullptr;
    const Dictionary* inner = product ? product->dictionary() : nullptr;
    const PropertyValue* name = inner ? find(*inner, "ProductName") : nullptr;
    const std::string* text = name ? name->string() : nullptr;
    return text ? *text : std::string();
}

class ListIterator final : public RegistryIterator {
  public:
    explicit ListIterator(std::vector<RegistryEntryID> ids) : ids_(std::move(ids)) {}
    RegistryEntryID next() override { return position_ < ids_.size() ? ids_[position_++] : 0; }

  private:
    std::vector<RegistryEntryID> ids_;
    std::size_t position_ = 0;
};

}  // namespace

KdeDdcRegistry::KdeDdcRegistry(IORegistry& inner, ServiceFactory innerServices,
                               const KdeScreenBrightness& kde)
    : inner_(inner), innerServices_(std::move(innerServices)), kde_(kde) {}

// Each bus entry follows the pipe of its monitor.
std::unique_ptr<RegistryIterator> KdeDdcRegistry::iterateRecursively(std::string_view plane) {
    std::unique_ptr<RegistryIterator> walk = inner_.iterateRecursively(plane);
    if (!walk) return nullptr;
    monitorNames_.clear();
    std::vector<RegistryEntryID> ids;
    std::string lastPipeName;
    for (RegistryEntryID id = walk->next(); id != 0; id = walk->next()) {
        ids.push_back(id);
        if (inner_.property(id, "DisplayAttributes"))
            lastPipeName = productName(inner_, id);
        else
            monitorNames_[id] = lastPipeName;
    }
    return std::make_unique<ListIterator>(std::move(ids));
}

std::string KdeDdcRegistry::className(RegistryEntryID entry) {
    return inner_.className(entry);
}

std::optional<PropertyValue> KdeDdcRegistry::property(RegistryEntryID entry,
                                                      std::string_view key) {
    return inner_.property(entry, key);
}

// A monitor Plasma drives goes through Plasma. While Plasma drives monitors, one that cannot
// be told apart from the others is not written at all: it may well be one of them.
AVServiceHandle KdeDdcRegistry::createAVService(RegistryEntryID entry) const {
    auto name = monitorNames_.find(entry);
    if (name != monitorNames_.end())
        if (std::shared_ptr<KdeDisplay> display = kde_.externalDisplayNamed(name->second))
            return std::make_shared<KdeMonitorService>(std::move(display));
    if (kde_.drivesMonitors()) return nullptr;
    return innerServices_(entry);
}

PrivateDisplayFunctions kdeAwareFunctions(PrivateDisplayFunctions inner,
                                          const KdeScreenBrightness& kde,
                                          const KdeDdcRegistry& registry,
                                          std::function<bool(DisplayID)> isBuiltin) {
    PrivateDisplayFunctions functions = inner;
    auto panel = [&kde, isBuiltin](DisplayID id) {
        return isBuiltin(id) ? kde.internalDisplay() : nullptr;
    };
    functions.getBrightness = [panel, inner](DisplayID id, float* level) -> std::int32_t {
        if (std::shared_ptr<KdeDisplay> display = panel(id)) {
            *level = static_cast<float>(display->brightness()) /
                     static_cast<float>(display->maxBrightness());
            return 0;
        }
        return inner.getBrightness ? inner.getBrightness(id, level) : kFailure;
    };
    functions.setBrightness = [panel, inner](DisplayID id, float level) -> std::int32_t {
        if (std::shared_ptr<KdeDisplay> display = panel(id)) {
            const float limited = std::clamp(level, 0.0f, 1.0f);
            display->setBrightness(static_cast<int>(
                std::lround(limited * static_cast<float>(display->maxBrightness()))));
            return 0;
        }
        return inner.setBrightness ? inner.setBrightness(id, level) : kFailure;
    };
    functions.createAVService = [&registry](RegistryEntryID entry) {
        return registry.createAVService(entry);
    };
    functions.readI2C = [inner](AVService& service, std::uint32_t chip, std::uint32_t offset,
                                std::span<std::uint8_t> buffer) -> std::int32_t {
        if (auto* monitor = dynamic_cast<KdeMonitorService*>(&service))
            return monitor->read(buffer);
        return inner.readI2C ? inner.readI2C(service, chip, offset, buffer) : kFailure;
    };
    functions.writeI2C = [inner](AVService& service, std::uint32_t chip,
                                 std::uint32_t dataAddress,
                                 std::span<const std::uint8_t> buffer) -> std::int32_t {
        if (auto* monitor = dynamic_cast<KdeMonitorService*>(&service))
            return monitor->write(buffer);
        return inner.writeI2C ? inner.writeI2C(service, chip, dataAddress, buffer) : kFailure;
    };
    return functions;
}

}  // namespace corvane::linux_desktop
