#include "platform/linux/XdgPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace corvane::linux_desktop {

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::optional<std::string> passwordDatabaseHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return std::nullopt;
    return std::string(found->pw_dir);
}

std::optional<std::filesystem::path> configHome(const EnvironmentLookup& environment,
                                                const AccountHomeLookup& accountHome) {
    auto absolute = [](const std::optional<std::string>& path) {
        return path && std::filesystem::path(*path).is_absolute();
    };
    if (std::optional<std::string> config = environment("XDG_CONFIG_HOME"); absolute(config))
        return *config;
    std::optional<std::string> home = environment("HOME");
    if (!absolute(home)) home = accountHome();
    if (!absolute(home)) return std::nullopt;
    return std::filesystem::path(*home) / ".config";
}

std::optional<std::filesystem::path> currentExecutable() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return path;
}

}  // namespace corvane::linux_desktop
