#include "headless_weston.h"

#include <fcntl.h>
#include <errno.h>
#include <signal.h>
#include <sys/prctl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace quorvel::wayland_test {
namespace {

void SleepMs(int ms) {
  const timespec pause{0, ms * 1000000L};
  nanosleep(&pause, nullptr);
}

bool IsSocket(const std::string& path) {
  struct stat info{};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

HeadlessWeston::HeadlessWeston() {
  // Weston does not wait for the helpers it starts; orphaned, they come to
  // this process, which waits for them when it stops weston.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-weston-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    why_ = "no runtime folder";
    return;
  }
  runtime_ = pattern;
  chmod(runtime_.c_str(), 0700);
  const std::string name = "quorvel-test";
  socket_ = runtime_ + "/" + name;

  std::vector<std::string> args = {"weston",
                                   "--backend=headless-backend.so",
                                   "--socket=" + name,
                                   "--width=1280",
                                   "--height=1024",
                                   "--idle-time=0",
                                   "--log=" + runtime_ + "/weston.log"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  // The test's environment, but weston's runtime folder; a Wayland or X
  // display the test runs under is not weston's parent. Made here: the
  // child of a fork may only call what is safe in a signal handler.
  std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + runtime_};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    const std::string key = entry.substr(0, entry.find('='));
    if (key != "XDG_RUNTIME_DIR" && key != "WAYLAND_DISPLAY" && key != "DISPLAY") {
      environment.push_back(entry);
    }
  }
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  pid_ = fork();
  if (pid_ == 0) {
    setpgid(0, 0);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, STDIN_FILENO);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  if (pid_ < 0) {
    why_ = "fork failed";
    return;
  }
  setpgid(pid_, pid_);

  for (int waited = 0; waited < 10000; waited += 10) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exited_ = true;
      why_ = WIFEXITED(status) && WEXITSTATUS(status) == 127
                 ? "weston is not installed (scripts/setup.sh installs it)"
                 : "weston ended at start; its log:\n" + Log();
      return;
    }
    if (IsSocket(socket_)) {
      ok_ = true;
      return;
    }
    SleepMs(10);
  }
  why_ = "weston's socket did not appear within 10 s; its log:\n" + Log();
}

HeadlessWeston::~HeadlessWeston() {
  Stop();
  if (!runtime_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(runtime_, ignored);
  }
}

std::string HeadlessWeston::Log() const {
  std::ifstream file(runtime_ + "/weston.log");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void HeadlessWeston::Kill() {
  if (pid_ <= 0 || exited_) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  exited_ = true;
}

void HeadlessWeston::Stop() {
  if (pid_ <= 0) return;
  // Weston first: ending, it stops the helpers it started and waits for
  // them; what is left of its group after it goes is killed.
  if (!exited_) {
    kill(pid_, SIGTERM);
    for (int waited = 0; waited < 5000 && !exited_; waited += 10) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        exited_ = true;
      } else {
        SleepMs(10);
      }
    }
    if (!exited_) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      exited_ = true;
    }
  }
  // Helpers that outlived weston, and the waits for them.
  kill(-pid_, SIGKILL);
  for (int waited = 0; waited < 2000; waited += 10) {
    while (waitpid(-pid_, nullptr, WNOHANG) > 0) {
    }
    if (waitpid(-pid_, nullptr, WNOHANG) < 0 && errno == ECHILD) break;
    SleepMs(10);
  }
  pid_ = -1;
}

}  // namespace quorvel::wayland_test
