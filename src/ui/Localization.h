#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/Localizer.h"

namespace corvane::ui {

// The application's localisation table, compiled in: English texts by dotted key. A key
// without an entry reads as itself.
class TableLocalizer final : public Localizer {
public:
    std::string text(std::string_view key) const override;
};

// The text for `key`.
QString localized(std::string_view key);
// `value` in the user's locale's digits, without any grouping separator.
QString localeNumber(long long value);
// The text for `key` with its "%lld" replaced by `localeNumber(value)`.
QString localizedInteger(std::string_view key, long long value);
// The text for `key` with its "%@" replaced by `value`.
QString localizedString(std::string_view key, const QString& value);

}  // namespace corvane::ui
