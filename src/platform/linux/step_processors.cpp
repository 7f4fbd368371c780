#include "platform/linux/step_processors.h"

#include <pthread.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/linux/sysfs_files.h"

namespace quorvel::linux_os {

namespace {
bool Contains(const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

// A decimal number at `text[i]`; false when there is none or it is absurd.
bool ReadNumber(const std::string& text, std::size_t& i, int& n) {
  const std::size_t start = i;
  long value = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
    value = value * 10 + (text[i] - '0');
    if (value > CPU_SETSIZE) return false;
    ++i;
  }
  n = static_cast<int>(value);
  return i > start;
}
}  // namespace

std::optional<StepProcessors> ChooseStepProcessors(const std::vector<int>& allowed, int windowAt,
                                                   const CoreSiblings& siblingsOf) {
  if (allowed.size() < 2) return std::nullopt;
  const int window = Contains(allowed, windowAt) ? windowAt : allowed.front();
  const std::vector<int> siblings = siblingsOf(window);
  int sameCore = -1;
  for (int p : allowed) {
    if (p == window) continue;
    if (!Contains(siblings, p)) return StepProcessors{window, p};
    if (sameCore < 0) sameCore = p;
  }
  return StepProcessors{window, sameCore};
}

bool ParseCpuList(const std::string& text, std::vector<int>& cpus) {
  cpus.clear();
  std::string list = text;
  while (!list.empty() && std::isspace(static_cast<unsigned char>(list.back())) != 0) list.pop_back();
  std::size_t i = 0;
  while (i < list.size()) {
    int first = 0;
    if (!ReadNumber(list, i, first)) break;
    int last = first;
    if (i < list.size() && list[i] == '-') {
      ++i;
      if (!ReadNumber(list, i, last) || last < first) break;
    }
    for (int p = first; p <= last; ++p) cpus.push_back(p);
    if (i == list.size()) return !cpus.empty();
    if (list[i] != ',') break;
    ++i;
  }
  cpus.clear();
  return false;
}

std::vector<int> AllowedProcessors(pid_t thread) {
  std::vector<int> result;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(thread, sizeof set, &set) != 0) return result;
  for (int p = 0; p < CPU_SETSIZE; ++p) {
    if (CPU_ISSET(p, &set)) result.push_back(p);
  }
  return result;
}

std::vector<int> SysfsCoreSiblings(int processor) {
  std::string text;
  std::vector<int> siblings;
  const std::string path =
      "/sys/devices/system/cpu/cpu" + std::to_string(processor) + "/topology/thread_siblings_list";
  if (!ReadAttribute(path, text) || !ParseCpuList(text, siblings)) return {processor};
  return siblings;
}

pid_t SocketPeerProcess(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer) return 0;
  return peer.pid;
}

int LastProcessorOf(pid_t pid) {
  if (pid <= 0) return -1;
  std::string stat;
  if (!ReadRegularFile("/proc/" + std::to_string(pid) + "/stat", kMaxAttributeSize, stat)) return -1;
  return ProcessorInStat(stat);
}

int ProcessorInStat(const std::string& stat) {
  // "PID (COMM) STATE ..." where COMM may hold blanks and parentheses; the
  // processor is the 39th field, the 37th after the one closing COMM.
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::size_t i = close + 1;
  for (int field = 0; field < 37; ++field) {
    if (i >= stat.size() || stat[i] != ' ') return -1;
    ++i;
    if (field == 36) break;
    while (i < stat.size() && stat[i] != ' ') ++i;
  }
  int processor = 0;
  if (!ReadNumber(stat, i, processor)) return -1;
  return processor < CPU_SETSIZE ? processor : -1;
}

ProcessorPin::ProcessorPin(int processor) {
  CPU_ZERO(&before_);
  if (processor < 0 || processor >= CPU_SETSIZE) return;
  if (pthread_getaffinity_np(pthread_self(), sizeof before_, &before_) != 0) return;
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(processor, &one);
  pinned_ = pthread_setaffinity_np(pthread_self(), sizeof one, &one) == 0;
}

ProcessorPin::~ProcessorPin() {
  if (pinned_) pthread_setaffinity_np(pthread_self(), sizeof before_, &before_);
}

}  // namespace quorvel::linux_os
