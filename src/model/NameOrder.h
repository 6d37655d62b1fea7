#pragma once

#include <string_view>

namespace corvane {

// Whether display name `a` sorts before `b`, ignoring letter case: "Acer" < "benq" < "Dell".
bool namesInAscendingOrder(std::string_view a, std::string_view b);

}  // namespace corvane
