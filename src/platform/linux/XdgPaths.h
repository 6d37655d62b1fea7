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

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// $HOME/.config; none when neither is set.
std::optional<std::filesystem::path> configHome(const EnvironmentLookup& environment);

// The running executable's path.
std::optional<std::filesystem::path> currentExecutable();

}  // namespace corvane::linux_desktop
