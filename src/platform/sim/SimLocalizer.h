#pragma once

#include <map>
#include <string>

#include "platform/Localizer.h"

namespace corvane::sim {

// A localisation table held in memory; keys without an entry read as themselves.
class SimLocalizer final : public Localizer {
public:
    std::string text(std::string_view key) const override;
    void set(std::string key, std::string text) { table_[std::move(key)] = std::move(text); }

private:
    std::map<std::string, std::string, std::less<>> table_;
};

}  // namespace corvane::sim
