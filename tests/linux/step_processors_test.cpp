#include <gtest/gtest.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/step_processors.h"

namespace quorvel::linux_os {
namespace {

TEST(StepProcessorsTest, TheWorkerGetsAnotherCoreWhereThereIsOne) {
  // Four hardware threads on two cores: 0 and 2 share one, 1 and 3 the other.
  const std::map<int, std::vector<int>> smt = {{0, {0, 2}}, {1, {1, 3}}, {2, {0, 2}}, {3, {1, 3}}};
  const CoreSiblings smtSiblings = [&](int p) { return smt.at(p); };
  const CoreSiblings alone = [](int p) { return std::vector<int>{p}; };
  struct Case {
    const char* what;
    std::vector<int> allowed;
    int windowNow;
    CoreSiblings siblings;
    int window, worker;  // -1: no choice
  } cases[] = {
      {"two processors", {0, 1}, 1, alone, 1, 0},
      {"the sibling is passed over", {0, 1, 2, 3}, 0, smtSiblings, 0, 1},
      {"only siblings allowed", {0, 2}, 2, smtSiblings, 2, 0},
      {"window thread on a processor not allowed", {2, 3}, 0, smtSiblings, 2, 3},
      {"an unknown processor", {4, 6}, -1, alone, 4, 6},
      {"one processor", {3}, 3, alone, -1, -1},
      {"none", {}, 0, alone, -1, -1},
  };
  for (const Case& c : cases) {
    const auto where = ChooseStepProcessors(c.allowed, c.windowNow, c.siblings);
    if (c.window < 0) {
      EXPECT_FALSE(where) << c.what;
      continue;
    }
    ASSERT_TRUE(where) << c.what;
    EXPECT_EQ(where->window, c.window) << c.what;
    EXPECT_EQ(where->worker, c.worker) << c.what;
  }
}

TEST(StepProcessorsTest, ReadsTheKernelsCpuLists) {
  struct Case {
    const char* text;
    bool ok;
    std::vector<int> cpus;
  } cases[] = {
      {"0-3,8,10-11\n", true, {0, 1, 2, 3, 8, 10, 11}},
      {"5", true, {5}},
      {"0,4", true, {0, 4}},
      {"", false, {}},
      {"3-1", false, {}},
      {"0,", false, {}},
      {"0-", false, {}},
      {"a", false, {}},
      {"0 1", false, {}},
      {"99999999999", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<int> cpus = {42};
    EXPECT_EQ(ParseCpuList(c.text, cpus), c.ok) << c.text;
    EXPECT_EQ(cpus, c.cpus) << c.text;
  }
}

TEST(StepProcessorsTest, FindsTheProcessorAProcessLastRanOn) {
  // 36 fields after the state, then the processor; a name may hold blanks
  // and parentheses.
  std::string fields;
  for (int i = 4; i <= 38; ++i) fields += " " + std::to_string(i);
  EXPECT_EQ(ProcessorInStat("1 (Xorg) S" + fields + " 3 0 0\n"), 3);
  EXPECT_EQ(ProcessorInStat("77 (a (b) c) R" + fields + " 12"), 12);
  EXPECT_EQ(ProcessorInStat("77 (short) R 4 5"), -1);
  EXPECT_EQ(ProcessorInStat("no name at all"), -1);
  EXPECT_EQ(ProcessorInStat("1 (x) S" + fields + " -1 0"), -1);

  // The other end of a local socket is found, and this process's last
  // processor is one it may run on.
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  EXPECT_EQ(SocketPeerProcess(ends[0]), getpid());
  close(ends[0]);
  close(ends[1]);
  EXPECT_EQ(SocketPeerProcess(-1), 0);
  const std::vector<int> allowed = AllowedProcessors();
  EXPECT_NE(std::find(allowed.begin(), allowed.end(), LastProcessorOf(getpid())), allowed.end());
  EXPECT_EQ(LastProcessorOf(0), -1);
}

TEST(StepProcessorsTest, APinHoldsTheThreadAndGivesBackWhatItHad) {
  const std::vector<int> allowed = AllowedProcessors();
  if (allowed.size() < 2) GTEST_SKIP() << "one processor: nothing to pin to";
  std::thread([&] {
    {
      ProcessorPin pin(allowed.back());
      ASSERT_TRUE(pin.pinned());
      EXPECT_EQ(AllowedProcessors(), std::vector<int>{allowed.back()});
      EXPECT_EQ(sched_getcpu(), allowed.back());
    }
    EXPECT_EQ(AllowedProcessors(), allowed);
    ProcessorPin none(-1);
    EXPECT_FALSE(none.pinned());
    EXPECT_EQ(AllowedProcessors(), allowed);
  }).join();
}

}  // namespace
}  // namespace quorvel::linux_os
