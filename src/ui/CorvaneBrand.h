#pragma once

#include <QString>
#include <QUrl>

// The maker's website and contact address, as the About panel links to and shows them.
namespace corvane::ui::brand {

inline QUrl websiteUrl() {
    return QUrl(QStringLiteral("https://corvane.app"));
}
inline QUrl emailUrl() {
    return QUrl(QStringLiteral("mailto:hello@corvane.app"));
}

inline QString websiteText() {
    return websiteUrl().host();
}
inline QString emailText() {
    return emailUrl().path();
}

}  // namespace corvane::ui::brand
