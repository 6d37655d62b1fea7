#include "platform/Diagnostics.h"

#include <atomic>

namespace corvane {

namespace {
std::atomic<DiagnosticSink*> installedSink{nullptr};
}

void installDiagnosticSink(DiagnosticSink* sink) { installedSink.store(sink); }

void diagnose(DiagnosticTopic topic, DiagnosticLevel level, std::string_view message) {
    if (DiagnosticSink* sink = installedSink.load()) sink->write(topic, level, message);
}

FailureEpisode::FailureEpisode(DiagnosticTopic topic, std::string subject)
    : topic_(topic), subject_(std::move(subject)) {}

void FailureEpisode::failed(std::string_view reason) {
    {
        std::lock_guard lock(mutex_);
        if (failing_) return;
        failing_ = true;
    }
    diagnose(topic_, DiagnosticLevel::warning, subject_ + ": " + std::string(reason));
}

void FailureEpisode::succeeded() {
    {
        std::lock_guard lock(mutex_);
        if (!failing_) return;
        failing_ = false;
    }
    diagnose(topic_, DiagnosticLevel::info, subject_ + ": working again");
}

bool FailureEpisode::failing() const {
    std::lock_guard lock(mutex_);
    return failing_;
}

}  // namespace corvane
