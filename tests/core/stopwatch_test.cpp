// The stopwatch and the score text: the numbers every total is made of.
#include <gtest/gtest.h>

#include <limits>

#include "bench/score_text.h"
#include "bench/stopwatch.h"
#include "fake/fake_platform.h"

namespace quorvel {
namespace {

TEST(ScoreText, FormatsLikeTheWindowsRuntime) {
  // _gcvt(value, 5, buffer): the form follows the exponent before rounding,
  // digits round half up on the exact decimal expansion, trailing zeros go
  // but a point stays, and a fixed form with no decimals has no point.
  const std::pair<double, const char*> cases[] = {
      {40.0, "40."},
      {0.0, "0."},
      {6.666666, "6.6667"},
      {0.5, "0.5"},
      {20.00004, "20."},
      {5.12344, "5.1234"},
      {-2.5, "-2.5"},
      {1234.25, "1234.3"},    // an exact tie rounds up, not to even
      {12344.5, "12345"},
      {9.99996, "10."},       // the carry keeps the fixed form's decimals
      {9999.95, "10000."},
      // The edge to the exponential form above: five integer digits are fixed.
      {12345.0, "12345"},
      {99999.4, "99999"},
      {99999.5, "100000"},    // still fixed: the exponent was 4 before rounding
      {100000.0, "1.e+005"},
      {123456.0, "1.2346e+005"},
      {1e200, "1.e+200"},
      // The edge below: 0.1 .. 0.99999 are fixed, smaller values exponential.
      {0.1, "0.1"},
      {0.12345, "0.12345"},
      {0.999996, "1."},
      {0.0999996, "1.e-001"}, // exponential: the exponent was -2 before rounding
      {0.099999, "9.9999e-002"},
      {0.05, "5.e-002"},
      {0.000123456, "1.2346e-004"},
      // What is not a number, as the runtime writes it: 0/0 gives the
      // indefinite NaN, whatever its sign bit.
      {std::numeric_limits<double>::infinity(), "1.#INF"},
      {-std::numeric_limits<double>::infinity(), "-1.#INF"},
      {std::numeric_limits<double>::quiet_NaN(), "-1.#IND"},
      {-std::numeric_limits<double>::quiet_NaN(), "-1.#IND"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatScore(value), text) << value;
}

TEST(ScoreText, ParsesBackLikeAtof) {
  EXPECT_DOUBLE_EQ(ParseScore("6.6667"), 6.6667);
  EXPECT_DOUBLE_EQ(ParseScore("40."), 40.0);
  EXPECT_DOUBLE_EQ(ParseScore("1.2346e+005"), 123460.0);
  EXPECT_DOUBLE_EQ(ParseScore("1.e+005"), 100000.0);
  EXPECT_DOUBLE_EQ(ParseScore("not a number"), 0.0);
  EXPECT_DOUBLE_EQ(ParseScore(""), 0.0);
}

TEST(ScoreText, TruncatesTowardZero) {
  EXPECT_EQ(TruncatedValue(20.9999), 20);
  EXPECT_EQ(TruncatedValue(20.5443), 20);
  EXPECT_EQ(TruncatedValue(0.4), 0);
  EXPECT_EQ(TruncatedValue(-3.7), -3);
  EXPECT_EQ(TruncatedValue(1e12), 2147483647);
}

class StopwatchTest : public ::testing::Test {
 protected:
  std::string Time(std::int64_t startCounter, std::int64_t stopCounter) {
    services.counter = startCounter;
    StartTimer(services);
    services.counter = stopCounter;
    return StopTimer(services);
  }
  fake::FakeServices services;
};

TEST_F(StopwatchTest, ScoreIsTwentyOverTheElapsedSeconds) {
  services.frequency = 1000000;
  EXPECT_EQ(Time(1000, 1000 + 500000), "40.");      // half a second
  EXPECT_EQ(Time(0, 2000000), "10.");               // 2 s
  EXPECT_EQ(Time(0, 4000000), "5.");                // 4 s
  EXPECT_EQ(Time(7, 7), "0.");                      // nothing elapsed
  EXPECT_EQ(Time(0, 3000000), "6.6667");            // 3 s
  EXPECT_EQ(Time(0, 150), "1.3333e+005");           // far under a fifth of a millisecond
}

TEST_F(StopwatchTest, OddFrequencyHalvesByTruncation) {
  services.frequency = 7;  // half of it is 3
  EXPECT_EQ(Time(10, 13), "40.");
}

TEST_F(StopwatchTest, NoFrequencyGivesZeroInsteadOfDividing) {
  services.frequency = 0;
  EXPECT_EQ(Time(0, 12345), "0.");
  services.frequency = 1;
  EXPECT_EQ(Time(0, 12345), "0.");
}

TEST_F(StopwatchTest, SecondStopMeasuresFromTheSameStart) {
  services.frequency = 1000;
  services.counter = 0;
  StartTimer(services);
  services.counter = 500;
  EXPECT_EQ(StopTimer(services), "40.");
  services.counter = 1000;
  EXPECT_EQ(StopTimer(services), "20.");
}

}  // namespace
}  // namespace quorvel
