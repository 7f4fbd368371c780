// Which program the compositor is: the process at the other end of the
// connection's socket, by its command name ("weston", "sway", "mutter").
#pragma once

#include <sys/types.h>

#include <string>

namespace quorvel::wayland {

// The command name of process `pid` (`procRoot`/PID/comm without its line
// end); empty when it cannot be read.
std::string ProcessCommandName(pid_t pid, const std::string& procRoot = "/proc");

// The command name of the process at the other end of the connected local
// socket `fd`; empty when it is unknown (not a local socket, or a process
// this one may not see).
std::string SocketPeerName(int fd, const std::string& procRoot = "/proc");

}  // namespace quorvel::wayland
