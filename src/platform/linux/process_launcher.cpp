#include "platform/linux/process_launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace quorvel::linux_os {

bool LaunchDetached(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  // Everything the children need is made before fork: after it, only
  // async-signal-safe calls are made.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      setsid();
      const int devNull = open("/dev/null", O_RDWR);
      if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        if (devNull > STDERR_FILENO) close(devNull);
      }
      execvp(args[0], args.data());
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace quorvel::linux_os
