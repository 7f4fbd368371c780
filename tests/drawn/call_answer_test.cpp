// The answer a worker waits for: given before or after the worker looks,
// while it watches or after it has gone to sleep.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/drawn/handover/call_answer.h"

namespace quorvel::drawn {
namespace {

struct AnswerCase {
  const char* name;
  bool value;
  int giveAfterMs;     // -1: given before the worker looks
  std::int64_t spinNs;  // how long the worker watches before it sleeps
};

class CallAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(CallAnswerTest, WorkerGetsTheValueGiven) {
  const AnswerCase& c = GetParam();
  CallAnswer answer;
  std::thread giver;
  if (c.giveAfterMs < 0) {
    answer.Give(c.value);
  } else {
    giver = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(c.giveAfterMs));
      answer.Give(c.value);
    });
  }
  EXPECT_EQ(answer.Take(c.spinNs), c.value);
  if (giver.joinable()) giver.join();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CallAnswerTest,
    ::testing::Values(AnswerCase{"GivenFirst", true, -1, 0},
                      AnswerCase{"GivenFirstFalse", false, -1, 1'000'000},
                      AnswerCase{"WhileWatching", true, 1, 200'000'000},
                      AnswerCase{"WhileWatchingFalse", false, 1, 200'000'000},
                      AnswerCase{"AfterSleepingStarted", true, 30, 1'000},
                      AnswerCase{"NoWatchAtAll", false, 30, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::drawn
