// How precisely a set of repeated runs knows its median score, and which
// runs lie far from it.
#pragma once

#include <vector>

namespace quorvel {

// The two-sided 95 % critical value of Student's t distribution with
// `degrees` degrees of freedom (at least 1): 12.706 for 1, 4.303 for 2,
// 1.96 as degrees grow.
double StudentT95(int degrees);

// The 95 % confidence interval of the median of a set of values, from the
// normal theory of the sample median: its standard error is
// sqrt(pi / 2) * s / sqrt(n) (s the sample standard deviation, divided by
// n - 1), and the interval is median +- t(0.975, n - 1) * that error. The
// median is SpreadOf's (the mean of the two middle values when n is even).
struct MedianInterval {
  bool known = false;  // false for fewer than two values
  double median = 0, low = 0, high = 0;
  // The half-width as a fraction of the median; known only when the
  // median is above 0.
  bool relativeKnown = false;
  double relativeHalfWidth = 0;
};
MedianInterval MedianConfidenceInterval(const std::vector<double>& values);

// For each value, whether it lies more than three scaled median absolute
// deviations (1.4826 x MAD, which estimates the standard deviation of
// normal values) from the median. When MAD is 0 (at least half the values
// equal the median) the scale is 1.2533 x the mean absolute deviation from
// the median instead (Iglewicz and Hoaglin's modified z-score), so that a
// far value among equal ones is still marked; when that is 0 too, every
// value is the median and none is marked.
std::vector<bool> FarFromMedian(const std::vector<double>& values);

}  // namespace quorvel
