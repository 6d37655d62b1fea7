#include "ui/TextKey.h"

#include "ui/Localization.h"

namespace corvane::ui {

QString localizedText(const TextKey& text) {
    if (text.argument) return localizedInteger(text.key, *text.argument);
    return localized(text.key);
}

}  // namespace corvane::ui
