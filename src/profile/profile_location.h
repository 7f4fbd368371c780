// Where the settings file lives on platforms that keep it themselves.
#pragma once

#include <string>

namespace quorvel {

constexpr char kProfileFileName[] = "Quorvel.ini";

// The settings file in the user's configuration folder, from the values of
// XDG_CONFIG_HOME and HOME (either may be null): $XDG_CONFIG_HOME when it
// is set to an absolute path, else $HOME/.config; the current directory
// when neither is usable.
std::string ProfilePathFor(const char* xdgConfigHome, const char* home);

// ProfilePathFor with this process's environment.
std::string ProfilePathFromEnvironment();

}  // namespace quorvel
