// The arithmetic of the measured figures: nearest-rank percentiles of the
// step times, the spread over repeated runs, and which run is the median.
#include <gtest/gtest.h>

#include "bench/run_record.h"
#include "bench/step_statistics.h"

namespace quorvel {
namespace {

TEST(Percentile, NearestRankOfSortedValues) {
  const std::vector<double> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<double> hundred;
  for (int i = 1; i <= 100; ++i) hundred.push_back(i);
  struct Case {
    const std::vector<double>* values;
    double percent;
    double expected;
  } cases[] = {
      {&ten, 0, 1},     {&ten, 10, 1},  {&ten, 11, 2},   {&ten, 50, 5},  {&ten, 90, 9},
      {&ten, 99, 10},   {&ten, 100, 10}, {&hundred, 50, 50}, {&hundred, 90, 90},
      {&hundred, 99, 99}, {&hundred, 99.5, 100},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Percentile(*c.values, c.percent), c.expected)
        << c.percent << " of " << c.values->size();
  }
  EXPECT_EQ(Percentile({}, 50), 0);
  EXPECT_EQ(Percentile({7}, 99), 7);
}

TEST(StepStatistics, TicksBecomeMicrosecondsInAnyOrder) {
  // 900 steps at a 10 MHz counter: 800 of 100 us, 90 of 200 us, 9 of 1 ms,
  // one of 5 ms and one quick one of 50 us, shuffled.
  std::vector<std::int64_t> ticks;
  for (int i = 0; i < 800; ++i) ticks.push_back(1000);
  for (int i = 0; i < 89; ++i) ticks.push_back(2000);
  for (int i = 0; i < 9; ++i) ticks.push_back(10000);
  ticks.push_back(50000);
  ticks.insert(ticks.begin() + 400, 500);
  const StepStatistics s = SummariseSteps(ticks, 10'000'000);
  EXPECT_DOUBLE_EQ(s.min, 50);
  EXPECT_DOUBLE_EQ(s.p50, 100);
  EXPECT_DOUBLE_EQ(s.p90, 200);
  EXPECT_DOUBLE_EQ(s.p99, 1000);
  EXPECT_DOUBLE_EQ(s.max, 5000);

  const StepStatistics none = SummariseSteps({}, 10'000'000);
  EXPECT_EQ(none.max, 0);
  const StepStatistics noFrequency = SummariseSteps(ticks, 0);
  EXPECT_EQ(noFrequency.p50, 0);
}

TEST(Spread, PopulationFiguresOfSmallSets) {
  struct Case {
    std::vector<double> values;
    double median, mean, min, max, stddev, cv;
  } cases[] = {
      {{}, 0, 0, 0, 0, 0, 0},
      {{5}, 5, 5, 5, 5, 0, 0},
      {{2, 4, 4, 4, 5, 5, 7, 9}, 4.5, 5, 2, 9, 2, 0.4},
      {{300, 100, 200}, 200, 200, 100, 300, 81.649658092772603, 0.40824829046386302},
      {{0, 0}, 0, 0, 0, 0, 0, 0},
      {{-1, 1}, 0, 0, -1, 1, 1, 0},
  };
  for (const Case& c : cases) {
    const Spread s = SpreadOf(c.values);
    SCOPED_TRACE(testing::PrintToString(c.values));
    EXPECT_DOUBLE_EQ(s.median, c.median);
    EXPECT_DOUBLE_EQ(s.mean, c.mean);
    EXPECT_DOUBLE_EQ(s.min, c.min);
    EXPECT_DOUBLE_EQ(s.max, c.max);
    EXPECT_NEAR(s.stddev, c.stddev, 1e-12);
    EXPECT_NEAR(s.cv, c.cv, 1e-12);
  }
}

TEST(MedianRun, MiddleByOverallScoreLowerOfTwoEarlierOfEqual) {
  struct Case {
    std::vector<int> overall;
    std::size_t expected;
  } cases[] = {
      {{}, 0},
      {{88}, 0},
      {{88, 44}, 1},            // even: the lower middle
      {{88, 44, 177}, 0},
      {{88, 44, 177, 22}, 1},   // 22 44 | 88 177
      {{50, 50, 50}, 1},        // equal scores: the middle one in run order
      {{9, 1, 5, 5, 7}, 3},     // 1 5 [5] 7 9: the second 5
  };
  for (const Case& c : cases) {
    std::vector<SequenceRecord> runs(c.overall.size());
    for (std::size_t i = 0; i < runs.size(); ++i) runs[i].overallScore = c.overall[i];
    EXPECT_EQ(MedianRunIndex(runs), c.expected) << testing::PrintToString(c.overall);
  }
}

}  // namespace
}  // namespace quorvel
