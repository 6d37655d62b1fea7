#pragma once

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Diagnostics.h"

namespace corvane::testing {

// Records every diagnostic written while it lives.
class RecordedDiagnostics final : public DiagnosticSink {
  public:
    struct Line {
        DiagnosticTopic topic;
        DiagnosticLevel level;
        std::string message;
    };

    RecordedDiagnostics() { installDiagnosticSink(this); }
    ~RecordedDiagnostics() override { installDiagnosticSink(nullptr); }
    RecordedDiagnostics(const RecordedDiagnostics&) = delete;
    RecordedDiagnostics& operator=(const RecordedDiagnostics&) = delete;

    void write(DiagnosticTopic topic, DiagnosticLevel level, std::string_view message) override {
        std::lock_guard lock(mutex_);
        lines_.push_back({topic, level, std::string(message)});
    }

    std::vector<Line> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    // How many lines of `topic` and `level` contain `text`.
    std::size_t count(DiagnosticTopic topic, DiagnosticLevel level, std::string_view text) const {
        std::lock_guard lock(mutex_);
        return static_cast<std::size_t>(std::ranges::count_if(lines_, [&](const Line& line) {
            return line.topic == topic && line.level == level &&
                   line.message.find(text) != std::string::npos;
        }));
    }
    void clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
};

}  // namespace corvane::testing
