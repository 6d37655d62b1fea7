#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <stdexcept>

namespace corvane::sim {
namespace {

constexpr std::int32_t kFailure = -536870212;
constexpr double kMenuBarHeight = 24;
constexpr double kDockHeight = 60;

}  // namespace

class SimDesktop::Displays final : public DisplayCatalog {
public:
    explicit Displays(const SimDesktop& desktop) : desktop_(desktop) {}

    std::vector<DisplayID> onlineDisplays(std::size_t capacity) const override {
        std::vector<DisplayID> ids;
        for (const SimDisplay& display : desktop_.displays_)
            if (display.online && ids.size() < capacity) ids.push_back(display.id);
        return ids;
    }
    bool isBuiltin(DisplayID id) const override { return config(id) && config(id)->builtin; }
    DisplayID mainDisplay() const override {
        DisplayID first = 0;
        for (const SimDisplay& display : desktop_.displays_) {
            if (!display.online) continue;
            if (display.config.main) return display.id;
            if (first == 0) first = display.id;
        }
        return first;
    }
    std::uint32_t vendorNumber(DisplayID id) const override { return config(id) ? config(id)->vendor : 0; }
    std::uint32_t modelNumber(DisplayID id) const override { return config(id) ? config(id)->model : 0; }
    std::uint32_t serialNumber(DisplayID id) const override { return config(id) ? config(id)->serial : 0; }
    std::optional<std::string> uuid(DisplayID id) const override {
        return config(id) ? config(id)->uuid : std::nullopt;
    }

private:
    const SimDisplayConfig* config(DisplayID id) const {
        const SimDisplay* display = desktop_.online(id);
        return display ? &display->config : nullptr;
    }
    const SimDesktop& desktop_;
};

class SimDesktop::Screens final : public ScreenCatalog {
public:
    explicit Screens(const SimDesktop& desktop) : desktop_(desktop) {}

    std::vector<Screen> screens() const override {
        std::vector<Screen> result;
        for (const SimDisplay& display : desktop_.displays_)
            if (display.online && display.config.hasScreen) result.push_back(screenOf(display));
        return result;
    }
    std::optional<Screen> mainScreen() const override {
        DisplayID main = desktop_.displayCatalog_->mainDisplay();
        std::vector<Screen> all = screens();
        for (const Screen& screen : all)
            if (screen.number == main) return screen;
        if (all.empty()) return std::nullopt;
        return all.front();
    }

private:
    static Screen screenOf(const SimDisplay& display) {
        const SimDisplayConfig& config = display.config;
        Screen screen;
        if (config.screenHasNumber) screen.number = display.id;
        screen.localizedName = config.name;
        screen.frame = {display.origin.x, display.origin.y, config.size.width, config.size.height};
        double top = config.size.height >= kMenuBarHeight + kDockHeight ? kMenuBarHeight : 0;
        double bottom = top > 0 ? kDockHeight : 0;
        screen.visibleFrame = {display.origin.x, display.origin.y + bottom, config.size.width,
                               config.size.height - top - bottom};
        screen.backingScaleFactor = config.scale;
        screen.currentHeadroom = config.currentHeadroom;
        screen.potentialHeadroom = config.potentialHeadroom;
        return screen;
    }
    const SimDesktop& desktop_;
};

SimDesktop::SimDesktop()
    : displayCatalog_(std::make_unique<Displays>(*this)),
      screenCatalog_(std::make_unique<Screens>(*this)),
      displayConnect_(*this) {
    rebuildFunctions();
    platform_.reset(new Platform{*displayCatalog_, *screenCatalog_, functions_, displayConnect_,
                                 gamma_, registry_, sleeper_, preferences_, localizer_,
                                 overlays_, loop_, power_, loginItem_, notifications_, events_,
                                 indicatorPanels_});
}

SimDesktop::~SimDesktop() = default;

DisplayID SimDesktop::add(SimDisplayConfig config) {
    SimDisplay display;
    display.id = static_cast<DisplayID>(displays_.size() + 1);
    display.origin = {nextOriginX_, 0};
    nextOriginX_ += config.size.width;
    if (config.gammaLength) gamma_.addTable(display.id, *config.gammaLength);
    if (config.ddc) display.monitor = std::make_shared<SimDDCMonitor>(config.ddc->current, config.ddc->maximum);
    if (config.backlight)
        displayConnect_.add(SimDisplayConnect::infoFor(config.vendor, config.model, config.serial, config.builtin),
                            display.id);
    display.config = std::move(config);
    displays_.push_back(std::move(display));
    addRegistryEntries(displays_.back());
    return displays_.back().id;
}

// External monitors appear in the registry as a display pipe carrying the product's
// attributes, followed by the AV service proxy of its connector.
void SimDesktop::addRegistryEntries(SimDisplay& display) {
    if (display.config.builtin) return;
    Dictionary product{{"LegacyManufacturerID", display.config.vendor},
                       {"ProductID", display.config.model & 0xFFFF},
                       {"SerialNumber", display.config.serial},
                       {"ProductName", display.config.name}};
    display.pipeEntry = registry_.add(
        "AppleCLCD2", {{"DisplayAttributes", Dictionary{{"ProductAttributes", product}}}});
    display.proxyEntry = registry_.add("DCPAVServiceProxy", {{"Location", "External"}});
    if (display.monitor) registry_.attach(display.proxyEntry, display.monitor);
}

void SimDesktop::unplug(DisplayID id) {
    SimDisplay& unplugged = display(id);
    if (!unplugged.online) return;
    unplugged.online = false;
    registry_.remove(unplugged.pipeEntry);
    registry_.remove(unplugged.proxyEntry);
    unplugged.pipeEntry = unplugged.proxyEntry = 0;
}

void SimDesktop::plug(DisplayID id) {
    SimDisplay& plugged = display(id);
    if (plugged.online) return;
    plugged.online = true;
    addRegistryEntries(plugged);
}

SimDisplay& SimDesktop::display(DisplayID id) {
    for (SimDisplay& display : displays_)
        if (display.id == id) return display;
    throw std::out_of_range("no simulated display " + std::to_string(id));
}

const SimDisplay* SimDesktop::online(DisplayID id) const {
    for (const SimDisplay& display : displays_)
        if (display.id == id && display.online) return &display;
    return nullptr;
}

void SimDesktop::setEntryPoint(EntryPoint entryPoint, EntryPointState state) {
    entryPoints_[entryPoint] = state;
    rebuildFunctions();
}

// Rebuilds the entry points in place, so that a Platform already handed out sees the change.
void SimDesktop::rebuildFunctions() {
    auto state = [this](EntryPoint entryPoint) {
        auto it = entryPoints_.find(entryPoint);
        return it == entryPoints_.end() ? EntryPointState::present : it->second;
    };
    auto include = [&](EntryPoint entryPoint, auto& slot, auto function) {
        using Slot = std::remove_reference_t<decltype(slot)>;
        slot = state(entryPoint) == EntryPointState::absent ? Slot{} : Slot{function};
    };
    // Holds `state` by value: the entry points outlive this call.
    auto failing = [state](EntryPoint entryPoint) {
        return state(entryPoint) == EntryPointState::failing;
    };

    include(EntryPoint::getBrightness, functions_.getBrightness,
            [this, failing](DisplayID id, float* level) -> std::int32_t {
                const SimDisplay* display = online(id);
                if (failing(EntryPoint::getBrightness) || !display || !display->config.backlight)
                    return kFailure;
                *level = static_cast<float>(*display->config.backlight);
                return 0;
            });
    include(EntryPoint::setBrightness, functions_.setBrightness,
            [this, failing](DisplayID id, float level) -> std::int32_t {
                if (failing(EntryPoint::setBrightness) || !online(id) || !display(id).config.backlight)
                    return kFailure;
                display(id).config.backlight = level;
                return 0;
            });
    include(EntryPoint::infoDictionary, functions_.infoDictionary,
            [this, failing](DisplayID id) -> std::optional<Dictionary> {
                const SimDisplay* display = online(id);
                if (failing(EntryPoint::infoDictionary) || !display) return std::nullopt;
                return Dictionary{{"DisplayProductName", Dictionary{{"en_US", display->config.name}}}};
            });
    include(EntryPoint::createAVService, functions_.createAVService,
            [this, failing](RegistryEntryID entry) -> AVServiceHandle {
                if (failing(EntryPoint::createAVService)) return nullptr;
                return registry_.createAVService(entry);
            });
    // The bus functions run on DDC worker threads: they touch only the monitor, which locks.
    bool readFails = failing(EntryPoint::readI2C);
    include(EntryPoint::readI2C, functions_.readI2C,
            [readFails](AVService& service, std::uint32_t chip, std::uint32_t offset,
                        std::span<std::uint8_t> buffer) -> std::int32_t {
                auto* simulated = dynamic_cast<SimAVService*>(&service);
                if (readFails || !simulated) return kFailure;
                return simulated->monitor->read(chip, offset, buffer);
            });
    bool writeFails = failing(EntryPoint::writeI2C);
    include(EntryPoint::writeI2C, functions_.writeI2C,
            [writeFails](AVService& service, std::uint32_t chip, std::uint32_t dataAddress,
                         std::span<const std::uint8_t> buffer) -> std::int32_t {
                auto* simulated = dynamic_cast<SimAVService*>(&service);
                if (writeFails || !simulated) return kFailure;
                return simulated->monitor->write(chip, dataAddress, buffer);
            });
}

}  // namespace corvane::sim
