#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace corvane {

// What a diagnostic message is about; the application maps each topic to a logging category
// ("corvane.ddc", "corvane.backlight", ...).
enum class DiagnosticTopic { ddc, backlight, gamma, prefs, keys, displays, session };

enum class DiagnosticLevel { debug, info, warning };

// Where the core's diagnostics go. Called from any thread, so implementations are thread-safe.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void write(DiagnosticTopic topic, DiagnosticLevel level, std::string_view message) = 0;
};

// The process-wide sink; messages are dropped while none is installed. The sink must outlive
// its installation (install nullptr before destroying it).
void installDiagnosticSink(DiagnosticSink* sink);
void diagnose(DiagnosticTopic topic, DiagnosticLevel level, std::string_view message);

// A device's or file's trouble, reported once when it starts and once when it ends rather than
// on every attempt. Thread-safe.
class FailureEpisode {
public:
    FailureEpisode(DiagnosticTopic topic, std::string subject);

    // Reports the failure when it is the first since the last success; later ones are quiet.
    void failed(std::string_view reason);
    // Reports the recovery when a failure was reported.
    void succeeded();
    bool failing() const;

private:
    DiagnosticTopic topic_;
    std::string subject_;
    mutable std::mutex mutex_;
    bool failing_ = false;
};

}  // namespace corvane
