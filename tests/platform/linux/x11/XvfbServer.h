#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <thread>

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

// A private Xvfb with RandR on a display it picks itself, stopped when dropped.
class XvfbServer {
  public:
    XvfbServer() {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(pipeFds[0]);
            // The server goes with the test, even one that ends abruptly.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
            const std::string fd = std::to_string(pipeFds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "+extension", "RANDR", "-nolisten", "tcp", "-noreset", nullptr);
            _exit(127);
        }
        close(pipeFds[1]);
        display_ = readDisplay(pipeFds[0]);
        close(pipeFds[0]);
    }
    ~XvfbServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return !display_.empty(); }
    // ":<n>", empty when the server did not start.
    const std::string& display() const { return display_; }

  private:
    // The display number Xvfb writes once it accepts connections, waiting 10 seconds at most.
    static std::string readDisplay(int fd) {
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd poller{fd, POLLIN, 0};
            if (poll(&poller, 1, 100) <= 0) continue;
            char c = 0;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return ":" + number;
            number += c;
        }
        return {};
    }

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
