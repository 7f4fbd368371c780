#include "platform/wayland/compositor_process.h"

#include <fstream>

#include "platform/linux/step_processors.h"

namespace quorvel::wayland {

std::string ProcessCommandName(pid_t pid, const std::string& procRoot) {
  if (pid <= 0) return {};
  std::ifstream file(procRoot + "/" + std::to_string(pid) + "/comm");
  std::string name;
  // The kernel keeps at most 15 characters of a command name.
  if (!file || !std::getline(file, name)) return {};
  if (name.size() > 64) name.resize(64);
  return name;
}

std::string SocketPeerName(int fd, const std::string& procRoot) {
  return ProcessCommandName(linux_os::SocketPeerProcess(fd), procRoot);
}

}  // namespace quorvel::wayland
