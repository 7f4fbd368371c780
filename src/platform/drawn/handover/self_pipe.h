// A pipe a thread writes one byte into to wake a loop sleeping in poll().
#pragma once

namespace quorvel::drawn {

class SelfPipe {
 public:
  SelfPipe();  // both ends non-blocking and close-on-exec
  ~SelfPipe();
  SelfPipe(const SelfPipe&) = delete;
  SelfPipe& operator=(const SelfPipe&) = delete;

  bool valid() const { return readFd_ >= 0; }
  int readFd() const { return readFd_; }
  // Callable from any thread and from a signal handler.
  void Wake();
  // Empties the pipe; called by the loop after it woke.
  void Drain();

 private:
  int readFd_ = -1;
  int writeFd_ = -1;
};

}  // namespace quorvel::drawn
