#include "ddc/UnicodeText.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

namespace corvane::UnicodeText {
namespace {

// ICU decodes ill-formed UTF-8 to one U+FFFD per maximal subpart.
icu::UnicodeString decoded(std::string_view bytes) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(bytes.data(), static_cast<std::int32_t>(bytes.size())));
}

}  // namespace

std::string repairedUTF8(std::string_view bytes) {
    std::string out;
    decoded(bytes).toUTF8String(out);
    return out;
}

bool canonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status)) return false;
    const icu::UnicodeString left = nfd->normalize(decoded(a), status);
    const icu::UnicodeString right = nfd->normalize(decoded(b), status);
    return U_SUCCESS(status) && left == right;
}

}  // namespace corvane::UnicodeText
