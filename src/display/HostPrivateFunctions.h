#pragma once

#include "display/DynamicAPI.h"
#include "platform/PrivateDisplayFunctions.h"

namespace corvane {

// The platform's optional entry points backed by the host's private functions: each one is
// present exactly when its function pointer is. The display information entry point is always
// absent: the host's dictionary is opaque without the host's dictionary library.
PrivateDisplayFunctions hostPrivateFunctions(const DisplayServicesAPI& displayServices,
                                             const AVServiceAPI& avService);

// The same over the process-wide resolved functions.
PrivateDisplayFunctions hostPrivateFunctions();

}  // namespace corvane
