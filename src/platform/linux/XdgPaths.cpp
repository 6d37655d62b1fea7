#include "platform/linux/XdgPaths.h"

#include <cstdlib>

namespace corvane::linux_desktop {

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::filesystem::path> configHome(const EnvironmentLookup& environment) {
    if (std::optional<std::string> config = environment("XDG_CONFIG_HOME"))
        if (std::filesystem::path(*config).is_absolute()) return *config;
    std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) return std::nullopt;
    return std::filesystem::path(*home) / ".config";
}

std::optional<std::filesystem::path> currentExecutable() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return path;
}

}  // namespace corvane::linux_desktop
