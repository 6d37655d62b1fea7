#include "ddc/DDCDiscovery.h"

#include <algorithm>
#include <optional>

#include "ddc/UnicodeText.h"

namespace corvane::DDCDiscovery {
namespace {

constexpr std::string_view kPlane = "IOService";
constexpr std::string_view kPipeClasses[] = {"AppleCLCD2", "IOMobileFramebufferShim"};
constexpr std::string_view kProxyClass = "DCPAVServiceProxy";
constexpr std::string_view kExternal = "External";

struct Attributes {
    std::string name;
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
    std::uint32_t serial = 0;
};

struct Pairing {
    int score;
    DisplayID display;
    std::size_t candidate;
};

std::uint32_t numberIn(const Dictionary& dictionary, std::string_view key) {
    const PropertyValue* value = find(dictionary, key);
    if (!value) return 0;
    return value->uint32().value_or(0);
}

// The pipe's product attributes, or none when they cannot be read (the previous pipe's stay
// in force then).
std::optional<Attributes> pipeAttributes(IORegistry& registry, RegistryEntryID entry) {
    std::optional<PropertyValue> display = registry.property(entry, "DisplayAttributes");
    if (!display) return std::nullopt;
    const Dictionary* displayAttributes = display->dictionary();
    if (!displayAttributes || displayAttributes->empty()) return std::nullopt;
    const PropertyValue* productValue = find(*displayAttributes, "ProductAttributes");
    if (!productValue) return std::nullopt;
    const Dictionary* product = productValue->dictionary();
    if (!product) return std::nullopt;

    Attributes attributes;
    attributes.vendor = numberIn(*product, "LegacyManufacturerID");
    attributes.product = numberIn(*product, "ProductID");
    attributes.serial = numberIn(*product, "SerialNumber");
    if (const PropertyValue* name = find(*product, "ProductName"))
        if (const std::string* text = name->string()) attributes.name = *text;
    return attributes;
}

bool isPipe(std::string_view name) {
    return std::find(std::begin(kPipeClasses), std::end(kPipeClasses), name) != std::end(kPipeClasses);
}

}  // namespace

std::string className(std::string_view rawBytes) {
    std::string_view name = rawBytes.substr(0, std::min(rawBytes.size(), kClassNameLimit));
    if (std::size_t zero = name.find('\0'); zero != std::string_view::npos) name = name.substr(0, zero);
    return UnicodeText::repairedUTF8(name);
}

std::vector<Candidate> collectCandidates(IORegistry& registry, const CreateService& create) {
    std::vector<Candidate> candidates;
    std::unique_ptr<RegistryIterator> iterator = registry.iterateRecursively(kPlane);
    if (!iterator) return candidates;

    Attributes current;
    for (RegistryEntryID entry = iterator->next(); entry != 0; entry = iterator->next()) {
        const std::string name = className(registry.className(entry));
        if (isPipe(name)) {
            if (std::optional<Attributes> read = pipeAttributes(registry, entry)) current = std::move(*read);
        } else if (name == kProxyClass) {
            std::optional<PropertyValue> location = registry.property(entry, "Location");
            const std::string* text = location ? location->string() : nullptr;
            if (text && *text != kExternal) continue;
            if (!create) continue;
            if (AVServiceHandle service = create(entry))
                candidates.push_back(
                    Candidate{std::move(service), current.name, current.serial, current.vendor, current.product});
        }
    }
    return candidates;
}

bool infoNamesProduct(const Dictionary& info, std::string_view name) {
    if (name.empty()) return false;
    const PropertyValue* names = find(info, "DisplayProductName");
    const Dictionary* localized = names ? names->dictionary() : nullptr;
    if (!localized) return false;
    const bool allStrings = std::all_of(localized->begin(), localized->end(),
                                        [](const auto& entry) { return entry.second.string() != nullptr; });
    if (!allStrings) return false;
    return std::any_of(localized->begin(), localized->end(), [&](const auto& entry) {
        return UnicodeText::canonicallyEquivalent(*entry.second.string(), name);
    });
}

int score(const Platform& platform, DisplayID display, const Candidate& candidate) {
    int total = 0;
    const DisplayCatalog& catalog = platform.displays;
    if (candidate.vendor != 0 && candidate.vendor == catalog.vendorNumber(display)) total += kVendorScore;
    if (candidate.product != 0 && candidate.product == (catalog.modelNumber(display) & 0xFFFFu))
        total += kProductScore;
    if (candidate.serial != 0 && candidate.serial == catalog.serialNumber(display)) total += kSerialScore;
    if (!candidate.productName.empty() && platform.functions.infoDictionary) {
        std::optional<Dictionary> info = platform.functions.infoDictionary(display);
        if (info && infoNamesProduct(*info, candidate.productName)) total += kNameScore;
    }
    return total;
}

std::unordered_map<DisplayID, AVServiceHandle> services(const Platform& platform,
                                                        const std::vector<DisplayID>& displays) {
    std::unordered_map<DisplayID, AVServiceHandle> result;
    const PrivateDisplayFunctions& functions = platform.functions;
    if (!functions.createAVService || !functions.writeI2C) return result;

    std::vector<Candidate> candidates = collectCandidates(platform.registry, functions.createAVService);
    if (candidates.empty()) return result;

    if (displays.size() == 1 && candidates.size() == 1) {
        result.emplace(displays.front(), candidates.front().service);
        return result;
    }

    std::vector<Pairing> pairings;
    pairings.reserve(displays.size() * candidates.size());
    for (DisplayID display : displays)
        for (std::size_t index = 0; index < candidates.size(); ++index)
            pairings.push_back(Pairing{score(platform, display, candidates[index]), display, index});

    std::stable_sort(pairings.begin(), pairings.end(),
                     [](const Pairing& a, const Pairing& b) { return a.score > b.score; });

    std::vector<bool> givenOut(candidates.size(), false);
    for (const Pairing& pairing : pairings) {
        if (pairing.score <= 0 || result.contains(pairing.display) || givenOut[pairing.candidate]) continue;
        givenOut[pairing.candidate] = true;
        result.emplace(pairing.display, candidates[pairing.candidate].service);
    }
    return result;
}

}  // namespace corvane::DDCDiscovery
