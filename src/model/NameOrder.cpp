#include "model/NameOrder.h"

#include <algorithm>

namespace corvane {
namespace {

// Folds ASCII letters to lower case; other bytes (UTF-8 sequences) compare as they are.
unsigned char folded(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

bool namesInAscendingOrder(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return folded(x) < folded(y); });
}

}  // namespace corvane
