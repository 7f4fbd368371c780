#include "platform/drawn/handover/self_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quorvel::drawn {

SelfPipe::SelfPipe() {
  int fds[2];
  if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
    readFd_ = fds[0];
    writeFd_ = fds[1];
  }
}

SelfPipe::~SelfPipe() {
  if (readFd_ >= 0) close(readFd_);
  if (writeFd_ >= 0) close(writeFd_);
}

void SelfPipe::Wake() {
  if (writeFd_ < 0) return;
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing is lost by dropping this one.
  while (write(writeFd_, &byte, 1) < 0 && errno == EINTR) {
  }
}

void SelfPipe::Drain() {
  if (readFd_ < 0) return;
  char buffer[64];
  for (;;) {
    ssize_t n = read(readFd_, buffer, sizeof buffer);
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    break;
  }
}

}  // namespace quorvel::drawn
