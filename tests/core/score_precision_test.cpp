// The precision of a median over repeated runs: Student's t and the
// interval it gives.
#include "bench/score_precision.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(ScorePrecision, StudentTCriticalValuesMatchTheTables) {
  // Two-sided 95 %, from the published tables; odd and even degrees take
  // different series.
  const struct {
    int degrees;
    double t;
  } cases[] = {{1, 12.7062}, {2, 4.3027},  {3, 3.1824},  {4, 2.7764}, {5, 2.5706},
               {10, 2.2281}, {19, 2.0930}, {30, 2.0423}, {99, 1.9842}};
  for (const auto& c : cases) EXPECT_NEAR(StudentT95(c.degrees), c.t, 5e-5) << c.degrees;
}

TEST(ScorePrecision, TheMedianIntervalComesFromTheSampleDeviation) {
  // 10, 12, 14, 20: median 13, s 4.3205, error 1.2533 x s / 2, t(3) 3.1824.
  const MedianInterval i = MedianConfidenceInterval({20, 10, 14, 12});
  ASSERT_TRUE(i.known);
  EXPECT_DOUBLE_EQ(i.median, 13);
  EXPECT_NEAR(i.high - 13, 8.6164, 1e-3);
  EXPECT_NEAR(13 - i.low, 8.6164, 1e-3);
  EXPECT_NEAR(i.relativeHalfWidth, 8.6164 / 13, 1e-4);

  EXPECT_FALSE(MedianConfidenceInterval({5}).known);
  const MedianInterval zero = MedianConfidenceInterval({0, 0, 1});
  EXPECT_TRUE(zero.known);
  EXPECT_FALSE(zero.relativeKnown) << "no fraction of a median of 0";
}

}  // namespace
}  // namespace quorvel
