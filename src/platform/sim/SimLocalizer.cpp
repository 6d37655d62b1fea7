#include "platform/sim/SimLocalizer.h"

namespace corvane::sim {

std::string SimLocalizer::text(std::string_view key) const {
    auto it = table_.find(key);
    return it == table_.end() ? std::string(key) : it->second;
}

}  // namespace corvane::sim
