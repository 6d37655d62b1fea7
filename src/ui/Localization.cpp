#include "ui/Localization.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace corvane::ui {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QHash<QString, QString> readTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QJsonObject entries = QJsonDocument::fromJson(file.readAll()).object();
    QHash<QString, QString> table;
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if (entry.value().isString()) table.insert(entry.key(), entry.value().toString());
    }
    return table;
}

// The table of the user's language, or the English one when there is none for it.
const QHash<QString, QString>& table() {
    static const QHash<QString, QString> entries = [] {
        const QString language = QLocale().name().section(QLatin1Char('_'), 0, 0);
        auto own = readTable(QStringLiteral(":/localization/%1.json").arg(language));
        return own.isEmpty() ? readTable(QStringLiteral(":/localization/en.json")) : own;
    }();
    return entries;
}

// Replaces the format's "%lld" and "%@" with `number` and `string` and its "%%" with "%";
// any other percent sign stays as it is.
QString format(const QString& pattern, const QString& number, const QString& string) {
    QString result;
    result.reserve(pattern.size() + number.size() + string.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QStringView rest = QStringView(pattern).mid(i);
        if (rest.startsWith(u"%lld")) {
            result += number;
            i += 3;
        } else if (rest.startsWith(u"%@")) {
            result += string;
            i += 1;
        } else if (rest.startsWith(u"%%")) {
            result += QLatin1Char('%');
            i += 1;
        } else {
            result += pattern[i];
        }
    }
    return result;
}

}  // namespace

// Grouped digits ("1,600") are hard to read in the small figures of the tray glyph and the
// cards, and the texts' "%lld" asks for none.
QString localeNumber(long long value) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

std::string TableLocalizer::text(std::string_view key) const {
    return localized(key).toStdString();
}

QString localized(std::string_view key) {
    const QString name = toQString(key);
    return table().value(name, name);
}

QString localizedInteger(std::string_view key, long long value) {
    return format(localized(key), localeNumber(value), {});
}

QString localizedString(std::string_view key, const QString& value) {
    return format(localized(key), {}, value);
}

}  // namespace corvane::ui
