#include "ui/AboutVersion.h"

#include <gtest/gtest.h>

namespace corvane::ui {
namespace {

TEST(AboutVersionTest, EachMissingOrNonStringEntryFallsBackOnItsOwn) {
    const QString shortKey = QStringLiteral("CFBundleShortVersionString");
    const QString buildKey = QStringLiteral("CFBundleVersion");
    EXPECT_EQ(aboutVersion({{shortKey, QStringLiteral("2.0")}, {buildKey, QStringLiteral("17")}}),
              QStringLiteral("2.0 (17)"));
    EXPECT_EQ(aboutVersion({{shortKey, QStringLiteral("3.1")}}), QStringLiteral("3.1 (4)"));
    EXPECT_EQ(aboutVersion({}), QStringLiteral("1.1.2 (4)"));
    EXPECT_EQ(aboutVersion({{shortKey, 2.5}, {buildKey, 17}}), QStringLiteral("1.1.2 (4)"));
    EXPECT_EQ(aboutVersion({{buildKey, QStringLiteral("")}}), QStringLiteral("1.1.2 ()"));
}

TEST(AboutVersionTest, ApplicationInformationCarriesBothKeysAsStrings) {
    const QVariantMap information = applicationInformation();
    EXPECT_EQ(information.value("CFBundleShortVersionString").typeId(), QMetaType::QString);
    EXPECT_EQ(information.value("CFBundleVersion").typeId(), QMetaType::QString);
}

}  // namespace
}  // namespace corvane::ui
