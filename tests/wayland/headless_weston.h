// A headless weston of the test's own, on a runtime folder of its own
// (mode 700), in a process group of its own so that stopping it also stops
// the helper programs it starts (its desktop shell, its keyboard).
#pragma once

#include <sys/types.h>

#include <string>

namespace quorvel::wayland_test {

class HeadlessWeston {
 public:
  // Starts `weston --backend=headless-backend.so` with a 1280 x 1024 output
  // and waits up to 10 s for its socket. `ok()` is false, with `why()`,
  // when it does not come up.
  HeadlessWeston();
  // Stops weston and its helpers and removes the runtime folder.
  ~HeadlessWeston();
  HeadlessWeston(const HeadlessWeston&) = delete;
  HeadlessWeston& operator=(const HeadlessWeston&) = delete;

  bool ok() const { return ok_; }
  const std::string& why() const { return why_; }
  // The socket's absolute path, for WaylandConnection::Connect.
  const std::string& socket() const { return socket_; }
  pid_t pid() const { return pid_; }
  // Weston's log so far, for a failing test's message.
  std::string Log() const;

  // Ends weston at once (SIGKILL), as a crash would; its helpers stay until
  // the destructor.
  void Kill();

 private:
  void Stop();

  std::string runtime_;
  std::string socket_;
  pid_t pid_ = -1;
  bool exited_ = false;
  bool ok_ = false;
  std::string why_;
};

}  // namespace quorvel::wayland_test
