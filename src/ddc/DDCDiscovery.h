#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"

namespace corvane {

// Matches the registry's external AV services (I2C channels) to displays. Stateless; every
// call walks the registry afresh.
namespace DDCDiscovery {

// One usable AV service and the product attributes of the display pipe met last before it.
// 0 and the empty name mean absent.
struct Candidate {
    AVServiceHandle service;
    std::string productName;
    std::uint32_t serial = 0;
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
};

using CreateService = std::function<AVServiceHandle(RegistryEntryID)>;

inline constexpr int kVendorScore = 2;
inline constexpr int kProductScore = 2;
inline constexpr int kSerialScore = 3;
inline constexpr int kNameScore = 2;
// The class-name buffer is 128 bytes and zero-filled, so at most 127 bytes of a name survive.
inline constexpr std::size_t kClassNameLimit = 127;

// The service for each display that one could be matched to: at most one per display, each
// service to at most one display. Empty when the creation or write entry point is absent.
std::unordered_map<DisplayID, AVServiceHandle> services(const Platform& platform,
                                                        const std::vector<DisplayID>& displays);

// Every external AV service proxy in registry walk order, each made with `create`, with the
// attributes of the nearest readable display pipe before it.
std::vector<Candidate> collectCandidates(IORegistry& registry, const CreateService& create);

// The pairing score of a display and a candidate (vendor 2, product 2, serial 3, name 2).
int score(const Platform& platform, DisplayID display, const Candidate& candidate);

// True when the info dictionary's "DisplayProductName" (locale → localized name) is a
// dictionary of strings one of which is canonically equivalent to `name` (case included).
// Never true for the empty name.
bool infoNamesProduct(const Dictionary& info, std::string_view name);

// A registry class name as the platform's name buffer would hold it: cut at the first zero
// byte and after kClassNameLimit bytes, then decoded as UTF-8 with ill-formed sequences
// replaced by U+FFFD.
std::string className(std::string_view rawBytes);

}  // namespace DDCDiscovery
}  // namespace corvane
