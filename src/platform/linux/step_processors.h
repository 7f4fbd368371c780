// Where the two threads of a timed step run. A step is handed from the
// worker thread to the window's thread, which then waits on the X server
// two or three times; the three run one after another. Left to the
// scheduler, the worker sometimes shares a processor with the window's
// thread, so that the X server has the other one and every request wakes a
// processor that has gone idle, or the server shares the worker's processor
// while the window's thread has the other; the next test is placed
// otherwise, and a test's steps took one time or half as long again, at
// random. So while a worker times steps, the window's thread is kept on the
// processor the X server last ran on, where the server stays while the
// worker keeps another one busy watching for its answers.
#pragma once

#include <sched.h>
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::linux_os {

struct StepProcessors {
  int window;  // the window's (user-interface) thread
  int worker;  // the thread that times the steps
};

// The hardware threads that share a core with the given processor,
// itself included.
using CoreSiblings = std::function<std::vector<int>(int processor)>;

// The window's thread goes to `windowAt` (the first allowed processor when
// that is not allowed); the worker takes the first allowed processor on
// another core, or the first other hardware thread when all share one
// core. Nothing when fewer than two processors are allowed.
std::optional<StepProcessors> ChooseStepProcessors(const std::vector<int>& allowed, int windowAt,
                                                   const CoreSiblings& siblingsOf);

// The process at the other end of a local socket (SO_PEERCRED); 0 when it
// is unknown (no local socket, or a process this one cannot see).
pid_t SocketPeerProcess(int fd);

// The processor a process last ran on, from /proc/PID/stat; -1 when unknown.
int LastProcessorOf(pid_t pid);

// The processor field of a /proc/PID/stat line; -1 when there is none.
int ProcessorInStat(const std::string& stat);

// A kernel CPU list ("0-3,8,10-11\n"); false, and `cpus` empty, when it is
// malformed.
bool ParseCpuList(const std::string& text, std::vector<int>& cpus);

// The processors a thread may run on, in order (0: the calling thread).
std::vector<int> AllowedProcessors(pid_t thread = 0);

// The kernel's thread_siblings_list for `processor`; just the processor
// when it cannot be read.
std::vector<int> SysfsCoreSiblings(int processor);

// Keeps the calling thread on one processor while it lives and gives it
// back the processors it had before. Made and destroyed on the same thread.
class ProcessorPin {
 public:
  explicit ProcessorPin(int processor);
  ~ProcessorPin();
  ProcessorPin(const ProcessorPin&) = delete;
  ProcessorPin& operator=(const ProcessorPin&) = delete;

  bool pinned() const { return pinned_; }

 private:
  cpu_set_t before_;
  bool pinned_ = false;
};

}  // namespace quorvel::linux_os
