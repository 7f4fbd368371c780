#include "profile/profile_location.h"

#include <cstdlib>

namespace quorvel {
namespace {

std::string InFolder(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder += '/';
  return folder + kProfileFileName;
}

}  // namespace

std::string ProfilePathFor(const char* xdgConfigHome, const char* home) {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return InFolder(xdgConfigHome);
  if (home != nullptr && home[0] != '\0') return InFolder(std::string(home) + "/.config");
  return kProfileFileName;
}

std::string ProfilePathFromEnvironment() {
  return ProfilePathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

}  // namespace quorvel
