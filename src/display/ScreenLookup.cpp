#include "display/ScreenLookup.h"

namespace corvane {

std::optional<Screen> screenOf(const ScreenCatalog& screens, DisplayID id) {
    for (Screen& screen : screens.screens())
        if (screen.number.value_or(0) == id) return std::move(screen);
    return std::nullopt;
}

}  // namespace corvane
