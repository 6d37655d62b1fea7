#include "app/QtDiagnosticSink.h"

#include <QLoggingCategory>
#include <QString>

namespace corvane::app {

namespace {

Q_LOGGING_CATEGORY(ddcCategory, "corvane.ddc", QtInfoMsg)
Q_LOGGING_CATEGORY(backlightCategory, "corvane.backlight", QtInfoMsg)
Q_LOGGING_CATEGORY(gammaCategory, "corvane.gamma", QtInfoMsg)
Q_LOGGING_CATEGORY(prefsCategory, "corvane.prefs", QtInfoMsg)
Q_LOGGING_CATEGORY(keysCategory, "corvane.keys", QtInfoMsg)
Q_LOGGING_CATEGORY(displaysCategory, "corvane.displays", QtInfoMsg)
Q_LOGGING_CATEGORY(sessionCategory, "corvane.session", QtInfoMsg)

const QLoggingCategory& categoryOf(DiagnosticTopic topic) {
    switch (topic) {
        case DiagnosticTopic::ddc: return ddcCategory();
        case DiagnosticTopic::backlight: return backlightCategory();
        case DiagnosticTopic::gamma: return gammaCategory();
        case DiagnosticTopic::prefs: return prefsCategory();
        case DiagnosticTopic::keys: return keysCategory();
        case DiagnosticTopic::displays: return displaysCategory();
        case DiagnosticTopic::session: return sessionCategory();
    }
    return sessionCategory();
}

}  // namespace

void QtDiagnosticSink::write(DiagnosticTopic topic, DiagnosticLevel level,
                             std::string_view message) {
    const QLoggingCategory& category = categoryOf(topic);
    const QString text = QString::fromUtf8(message.data(), qsizetype(message.size()));
    switch (level) {
        case DiagnosticLevel::debug: qCDebug(category).noquote() << text; break;
        case DiagnosticLevel::info: qCInfo(category).noquote() << text; break;
        case DiagnosticLevel::warning: qCWarning(category).noquote() << text; break;
    }
}

}  // namespace corvane::app
