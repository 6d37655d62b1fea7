#pragma once

#include <QString>
#include <optional>
#include <string_view>

namespace corvane::ui {

// A localisation key and the integer its "%lld" stands for, if it has one. The views decide
// which key to show through these, so the choice can be checked without the string table.
struct TextKey {
    std::string_view key;
    std::optional<long long> argument;

    friend bool operator==(const TextKey&, const TextKey&) = default;
};

// The user-visible text of `text`.
QString localizedText(const TextKey& text);

}  // namespace corvane::ui
