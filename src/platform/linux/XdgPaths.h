#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace corvane::linux_desktop {

// Looks an environment variable up; none when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process's environment.
std::optional<std::string> processEnvironment(const char* name);

// Looks the home folder of the user running the process up in the password database.
using AccountHomeLookup = std::function<std::optional<std::string>()>;
std::optional<std::string> passwordDatabaseHome();

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// <home>/.config with $HOME, or the password database's home when $HOME is unset or not an
// absolute path; none when there is no home at all (never a shared folder).
std::optional<std::filesystem::path> configHome(
    const EnvironmentLookup& environment,
    const AccountHomeLookup& accountHome = passwordDatabaseHome);

// The running executable's path.
std::optional<std::filesystem::path> currentExecutable();

}  // namespace corvane::linux_desktop
