#pragma once

#include <QString>

// The login manager's names on the system bus.
namespace corvane::linux_desktop::logind {

inline const QString kService = QStringLiteral("org.freedesktop.login1");
inline const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
inline const QString kManagerInterface = QStringLiteral("org.freedesktop.login1.Manager");
// logind resolves "auto" to the session of the calling process (or its user's display
// session when the caller is outside any session).
inline const QString kCallerSession = QStringLiteral("/org/freedesktop/login1/session/auto");
inline const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");

}  // namespace corvane::linux_desktop::logind
