// What the scheduler says of a thread and of the machine: the parsers on the
// kernel's own text, a thread read from a copy of /proc, and this process
// read from the real one.
#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/thread_schedule.h"
#include "support/temp_folder.h"

namespace quorvel::linux_os {
namespace {

constexpr char kSched[] =
    "Xvfb (5348, #threads: 1)\n"
    "-------------------------------------------------------------------\n"
    "se.exec_start                                :       3580283.665918\n"
    "se.nr_migrations                             :                   17\n"
    "nr_switches                                  :                  120\n";
constexpr char kStatus[] =
    "Name:\tXvfb\nvoluntary_ctxt_switches:\t1000\nnonvoluntary_ctxt_switches:\t42\n";
constexpr char kProcStat[] =
    "cpu  5233 12 2211 812345 77 0 31 912 0 0\n"
    "cpu0 2600 6 1100 406000 40 0 15 456 0 0\n";

TEST(ThreadSchedule, ReadsTheKernelsFigures) {
  std::int64_t run = 0, wait = 0, value = 0;
  EXPECT_TRUE(ParseSchedstat("2501152 180334 7\n", run, wait));
  EXPECT_EQ(run, 2501152);
  EXPECT_EQ(wait, 180334);
  EXPECT_FALSE(ParseSchedstat("not figures\n", run, wait));
  EXPECT_FALSE(ParseSchedstat("-1 2 3\n", run, wait));

  EXPECT_TRUE(ParseSchedField(kSched, "se.nr_migrations", value));
  EXPECT_EQ(value, 17);
  EXPECT_FALSE(ParseSchedField(kSched, "se.nr", value));  // a name is matched whole
  EXPECT_TRUE(ParseStatusField(kStatus, "nonvoluntary_ctxt_switches", value));
  EXPECT_EQ(value, 42);
  EXPECT_FALSE(ParseStatusField(kStatus, "ctxt_switches", value));

  EXPECT_TRUE(ParseStealTicks(kProcStat, value));
  EXPECT_EQ(value, 912);
  EXPECT_FALSE(ParseStealTicks("cpu  1 2 3\n", value));  // an old kernel without steal
  EXPECT_FALSE(ParseStealTicks("intr 1 2 3 4 5 6 7 8\n", value));
}

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << text;
}

TEST(ThreadSchedule, ASampleOfAThreadAndTheDifferenceOfTwo) {
  test_support::TempFolder root;
  const std::string task = root / "proc/5348/task/5350/";
  Write(task + "schedstat", "1000 200 3\n");
  Write(task + "sched", kSched);
  Write(task + "status", kStatus);
  Write(task + "stat", "5350 (Xvfb) S 1 5348 5348 0 -1 4194560 0 0 0 0 0 0 0 0 20 0 1 0 9 0 0 "
                       "18446744073709551615 0 0 0 0 0 0 0 0 0 0 0 0 17 1 0 0 0 0 0\n");
  const ScheduleSample before = SampleThread(5348, 5350, root.path());
  ASSERT_TRUE(before.read);
  EXPECT_EQ(before.processor, 1);
  EXPECT_EQ(before.migrations, 17);
  EXPECT_EQ(before.involuntarySwitches, 42);

  ScheduleSample after = before;
  after.runNs += 5000;
  after.waitNs += 700;
  after.migrations += 2;
  after.involuntarySwitches += 3;
  after.processor = 0;
  const platform::ThreadSchedule s = ScheduleBetween(before, after);
  EXPECT_TRUE(s.known);
  EXPECT_EQ(s.processorAtStart, 1);
  EXPECT_EQ(s.processorAtEnd, 0);
  EXPECT_EQ(s.runNs, 5000);
  EXPECT_EQ(s.waitNs, 700);
  EXPECT_EQ(s.migrations, 2);
  EXPECT_EQ(s.involuntarySwitches, 3);

  // A thread that cannot be read makes the difference unknown.
  EXPECT_FALSE(SampleThread(5348, 9999, root.path()).read);
  EXPECT_FALSE(ScheduleBetween(before, ScheduleSample{}).known);
  Write(root / "proc/stat", kProcStat);
  EXPECT_EQ(StealNs(root.path()), 912 * (1'000'000'000 / ::sysconf(_SC_CLK_TCK)));
}

TEST(ThreadSchedule, ThisThreadOnThisMachine) {
  const auto tid = static_cast<pid_t>(::syscall(SYS_gettid));
  const ScheduleSample sample = SampleThread(::getpid(), tid);
  if (!sample.read) GTEST_SKIP() << "this kernel keeps no schedule statistics";
  EXPECT_GE(sample.processor, 0);
  EXPECT_GT(sample.runNs, 0);
  EXPECT_GE(StealNs(), 0);
}

}  // namespace
}  // namespace quorvel::linux_os
