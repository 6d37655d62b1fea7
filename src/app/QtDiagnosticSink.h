#pragma once

#include "platform/Diagnostics.h"

namespace corvane::app {

// Sends the core's diagnostics to Qt's categorised logging: "corvane.ddc", "corvane.backlight",
// "corvane.gamma", "corvane.prefs", "corvane.keys", "corvane.displays" and "corvane.session".
// Debug messages are off unless QT_LOGGING_RULES turns them on (e.g. "corvane.*.debug=true").
class QtDiagnosticSink : public DiagnosticSink {
public:
    void write(DiagnosticTopic topic, DiagnosticLevel level, std::string_view message) override;
};

}  // namespace corvane::app
