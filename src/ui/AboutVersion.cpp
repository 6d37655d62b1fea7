#include "ui/AboutVersion.h"

#include "app/ApplicationInfo.h"

namespace corvane::ui {
namespace {

QString stringOr(const QVariantMap& information, const char* key, const char* fallback) {
    const QVariant value = information.value(QLatin1String(key));
    return value.typeId() == QMetaType::QString ? value.toString() : QLatin1String(fallback);
}

}  // namespace

QVariantMap applicationInformation() {
    using namespace application_info;
    return {
        {QLatin1String(kShortVersionKey), QLatin1String(kShortVersion)},
        {QLatin1String(kBuildVersionKey), QLatin1String(kBuildVersion)},
    };
}

QString aboutVersion(const QVariantMap& information) {
    return QStringLiteral("%1 (%2)").arg(
        stringOr(information, application_info::kShortVersionKey, "1.1.2"),
        stringOr(information, application_info::kBuildVersionKey, "4"));
}

}  // namespace corvane::ui
