// The hand-over of a worker's calls to the user-interface thread, without a
// window: calls run on that thread in their order, a closed window refuses
// them, and a call posted just before the window closed is answered, not
// run, so its worker never waits for an ended window.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/drawn/handover/posted_calls.h"
#include "platform/drawn/handover/worker_call_times.h"
#include "platform/drawn/handover/worker_calls.h"

namespace quorvel::drawn {
namespace {

TEST(WorkerCalls, RunOnTheUserInterfaceThreadInOrderAndAreCounted) {
  PostedCalls calls;  // this thread is the user-interface thread
  WorkerCalls gate(calls);
  gate.Open();
  const std::thread::id uiThread = std::this_thread::get_id();
  TheWorkerCallTimes().Reset();

  std::vector<int> ran;
  bool allOnUiThread = true;
  std::atomic<bool> workerDone{false};
  std::thread worker([&] {
    for (int i = 0; i < 20; ++i) {
      EXPECT_TRUE(gate.Run([&, i] {
        ran.push_back(i);
        allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
      }));
    }
    workerDone = true;
    calls.Wake();
  });
  // The loop of a backend, reduced to the posted calls: it watches for the
  // next call for a while, then sleeps until a post wakes it.
  while (!workerDone) {
    if (calls.RunPosted() || calls.AwaitNextPost()) continue;
    if (!calls.BeginSleep()) continue;
    pollfd wake{calls.wakeFd(), POLLIN, 0};
    const int ready = poll(&wake, 1, 1000);
    calls.EndSleep();
    if (ready > 0) calls.DrainWake();
  }
  worker.join();

  ASSERT_EQ(ran.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(allOnUiThread);
  EXPECT_EQ(TheWorkerCallTimes().calls.load(), 20);
  EXPECT_GE(TheWorkerCallTimes().exchangeNs.load(), TheWorkerCallTimes().carriedOutNs.load());
}

TEST(WorkerCalls, OnTheUserInterfaceThreadRunAtOnceWhileOpen) {
  PostedCalls calls;
  WorkerCalls gate(calls);
  int ran = 0;
  EXPECT_FALSE(gate.Run([&] { ++ran; }));  // not open yet
  gate.Open();
  EXPECT_TRUE(gate.Run([&] { ++ran; }));
  gate.Close();
  EXPECT_FALSE(gate.Run([&] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_FALSE(calls.RunPosted());  // nothing went through the queue
}

TEST(WorkerCalls, ACallPostedBeforeTheWindowClosedIsAnsweredWithoutRunning) {
  PostedCalls calls;
  WorkerCalls gate(calls);
  gate.Open();
  std::atomic<bool> ran{false};
  std::atomic<int> answer{-1};
  std::thread worker([&] { answer = gate.Run([&] { ran = true; }) ? 1 : 0; });
  // Wait until the call is queued, then end the window as a dialog ends:
  // close, then answer what was posted.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!calls.AwaitNextPost() && std::chrono::steady_clock::now() < deadline) {
  }
  gate.Close();
  EXPECT_TRUE(calls.RunPosted());
  worker.join();
  EXPECT_EQ(answer.load(), 0);
  EXPECT_FALSE(ran.load());

  // From now on a worker's call returns at once.
  std::thread late([&] { answer = gate.Run([&] { ran = true; }) ? 1 : 0; });
  late.join();
  EXPECT_EQ(answer.load(), 0);
  EXPECT_FALSE(calls.RunPosted());
}

TEST(PostedCalls, APostWakesALoopThatSleepsOnTheWakeUpPipe) {
  PostedCalls calls;
  ASSERT_TRUE(calls.canWake());
  ASSERT_TRUE(calls.BeginSleep());
  std::thread poster([&] { calls.Post([] {}); });
  poster.join();
  // The pipe is readable: a loop asleep in poll() on it would have woken.
  pollfd wake{calls.wakeFd(), POLLIN, 0};
  EXPECT_EQ(poll(&wake, 1, 0), 1);
  calls.EndSleep();
  calls.DrainWake();
  EXPECT_EQ(poll(&wake, 1, 0), 0);
  EXPECT_TRUE(calls.RunPosted());
  // With a call waiting, the loop does not go to sleep at all.
  calls.Post([] {});
  EXPECT_FALSE(calls.BeginSleep());
}

}  // namespace
}  // namespace quorvel::drawn
