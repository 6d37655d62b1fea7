#pragma once

#include <string>

#include "platform/DisplayCatalog.h"

namespace corvane {

// The display's persistent UUID string: the platform's, else "display-" and the decimal ID.
std::string corvaneUUID(const DisplayCatalog& displays, DisplayID id);

}  // namespace corvane
