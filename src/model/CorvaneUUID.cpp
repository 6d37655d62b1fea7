#include "model/CorvaneUUID.h"

namespace corvane {

std::string corvaneUUID(const DisplayCatalog& displays, DisplayID id) {
    if (std::optional<std::string> uuid = displays.uuid(id)) return *std::move(uuid);
    return "display-" + std::to_string(id);
}

}  // namespace corvane
