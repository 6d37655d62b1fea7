#include "ui/Localization.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

#include "ui/LocalizationKeys.h"
#include "ui/PopoverTestSupport.h"

namespace corvane::ui {
namespace {

using testing::LocaleScope;

// `value` formatted by `key` in `locale`.
QString formattedIn(const QLocale& locale, std::string_view key, long long value) {
    LocaleScope scope(locale);
    return localizedInteger(key, value);
}

QJsonObject englishTable() {
    QFile file(QStringLiteral(":/localization/en.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

// The core's localizer reads the same table, as UTF-8.
TEST(LocalizationTest, TableHasATextForEveryKeyAndNoOtherEntriesAndTheCoreReadsIt) {
    const QJsonObject table = englishTable();
    const TableLocalizer localizer;
    QStringList listed;
    for (std::string_view key : keys::kAll) {
        const QString name = QString::fromUtf8(key);
        listed << name;
        EXPECT_TRUE(table.value(name).isString()) << "no text for " << key;
        EXPECT_FALSE(table.value(name).toString().isEmpty()) << "empty text for " << key;
        EXPECT_EQ(QString::fromStdString(localizer.text(key)), table.value(name).toString()) << key;
    }
    for (const QString& key : table.keys())
        EXPECT_TRUE(listed.contains(key)) << "stray entry " << key.toStdString();
    EXPECT_EQ(listed.removeDuplicates(), 0);
}

TEST(LocalizationTest, EveryFormattedKeyTakesItsArgument) {
    for (std::string_view key : keys::kAll) {
        const QString text = QString::fromUtf8(key);
        if (text.contains(QStringLiteral("%lld"))) {
            QString formatted = localizedInteger(key, 4321);
            EXPECT_FALSE(formatted.contains(QStringLiteral("%lld"))) << key;
            EXPECT_TRUE(formatted.remove(QRegularExpression("\\D")).contains("4321")) << key;
        } else if (text.contains(QStringLiteral("%@"))) {
            const QString formatted = localizedString(key, QStringLiteral("9.9 (99)"));
            EXPECT_TRUE(formatted.contains(QStringLiteral("9.9 (99)"))) << key;
            EXPECT_FALSE(formatted.contains(QStringLiteral("%@"))) << key;
        }
    }
}

TEST(LocalizationTest, NumbersUseTheLocalesDigitsWithoutGrouping) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formattedIn(english, keys::kNumber, 1600), QStringLiteral("1600"));
    EXPECT_EQ(formattedIn(english, keys::kPercent, 38), QStringLiteral("38%"));
    EXPECT_EQ(formattedIn(english, keys::kPercent, -1), QStringLiteral("-1%"));
    EXPECT_EQ(formattedIn(english, keys::kHudNits, 1600), QStringLiteral("≈ 1600 nits"));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(formattedIn(german, keys::kNumber, 1234567), QStringLiteral("1234567"));
    // The locale's own digits, still ungrouped.
    EXPECT_EQ(formattedIn(QLocale(QLocale::Arabic, QLocale::Egypt), keys::kNumber, 1600),
              QString::fromUtf8("١٦٠٠"));
}

TEST(LocalizationTest, KeysWithoutEntriesReadAsThemselvesWithTheirArguments) {
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(localized("no.such.key"), QStringLiteral("no.such.key"));
    EXPECT_EQ(localizedInteger("missing %lld of %lld", 2500),
              QStringLiteral("missing 2500 of 2500"));
    EXPECT_EQ(localizedInteger("100%% is %lld%", 7), QStringLiteral("100% is 7%"));
    EXPECT_EQ(localizedString("named %@ %d", QStringLiteral("x")), QStringLiteral("named x %d"));
    EXPECT_EQ(TableLocalizer().text("no.such.key"), "no.such.key");
}

}  // namespace
}  // namespace corvane::ui
