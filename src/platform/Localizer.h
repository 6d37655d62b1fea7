#pragma once

#include <string>
#include <string_view>

namespace corvane {

// User-visible text by dotted key, in the user's language. A key without an entry reads as
// the key itself.
class Localizer {
public:
    virtual ~Localizer() = default;
    virtual std::string text(std::string_view key) const = 0;
};

}  // namespace corvane
