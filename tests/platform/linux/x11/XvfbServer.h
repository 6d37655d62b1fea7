#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

namespace corvane::linux_desktop::testing {

// Whether a program is on the PATH.
inline bool haveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command against `display`, for at most 10 seconds; its output, or none when it
// failed.
inline std::optional<std::string> runOn(const std::string& display, const std::string& command) {
    const std::string line = "DISPLAY=" + display + " timeout 10 " + command + " 2>/dev/null";
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    while (std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, read);
    return pclose(pipe) == 0 ? std::optional(output) : std::nullopt;
}

// A value `xrandr --verbose` shows for the first output ("Gamma", "Brightness"...).
inline std::optional<std::string> xrandrValue(const std::string& display, const std::string& name) {
    const std::optional<std::string> text = runOn(display, "xrandr --verbose");
    std::smatch match;
    if (!text || !std::regex_search(*text, match, std::regex(name + R"(:\s+(\S+))")))
        return std::nullopt;
    return match[1];
}

// The brightness xrandr derives from the first output's gamma ramps.
inline std::optional<double> xrandrBrightness(const std::string& display) {
    const std::optional<std::string> value = xrandrValue(display, "Brightness");
    if (!value) return std::nullopt;
    return std::stod(*value);
}

// A private Xvfb with RandR on a display it picks itself, stopped when dropped. The shell that
// starts it becomes `timeout`, which runs the server: a server its test left behind, even by
// ending abruptly, is gone after five minutes.
class XvfbServer {
  public:
    XvfbServer() {
        output_ = popen(
            "echo $$; exec timeout -k 5 300 Xvfb -displayfd 1 -screen 0 1024x768x24 "
            "+extension RANDR -nolisten tcp -noreset 2>/dev/null",
            "r");
        // The process's ID, then the display number once the server accepts connections.
        char line[32];
        if (!output_ || !std::fgets(line, sizeof line, output_)) return;
        pid_ = std::atoi(line);
        if (!std::fgets(line, sizeof line, output_)) return;
        const std::string number = std::to_string(std::atoi(line));
        display_ = ":" + number;
    }
    ~XvfbServer() {
        if (pid_ > 0) kill(pid_, SIGTERM);
        if (output_) pclose(output_);
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return !display_.empty(); }
    // ":<n>", empty when the server did not start.
    const std::string& display() const { return display_; }

  private:
    FILE* output_ = nullptr;
    pid_t pid_ = -1;
    std::string display_;
};

// A test against an Xvfb of its own, with the brightness keys on key codes 232 (down) and 233
// (up) and linear gamma ramps: Xvfb starts with empty ones, and a linear ramp is what a display
// without a colour profile shows. Skipped where the X programs are not installed.
class XvfbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* program : {"Xvfb", "xdotool", "xmodmap", "xrandr"})
            if (!haveProgram(program)) GTEST_SKIP() << program << " is not installed";
        ASSERT_TRUE(server_.running()) << "Xvfb did not start";
        ASSERT_TRUE(
            run("xmodmap -e 'keycode 232 = XF86MonBrightnessDown' "
                "-e 'keycode 233 = XF86MonBrightnessUp'"));
        ASSERT_TRUE(run("xrandr --output screen --gamma 1:1:1 --brightness 1"));
    }

    // Runs a shell command against the server; whether it succeeded.
    bool run(const std::string& command) { return runOn(server_.display(), command).has_value(); }
    // The brightness xrandr shows.
    double brightness() const { return xrandrBrightness(server_.display()).value_or(-1); }

    XvfbServer server_;
};

}  // namespace corvane::linux_desktop::testing
