// Figures that describe a set of measured values: the percentiles of one
// test's step times, and the spread of scores over repeated runs.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel {

// The nearest-rank percentile: the smallest value that at least `percent`
// per cent of the values do not exceed (the value at rank ceil(p/100 * n)
// of the sorted values). 0 for no values; percent 0 gives the minimum.
double Percentile(const std::vector<double>& sortedValues, double percent);

// The step times of one test, in microseconds.
struct StepStatistics {
  double min = 0, p50 = 0, p90 = 0, p99 = 0, max = 0;
};

// `ticks` are the durations of the steps in counter ticks at `frequency`
// ticks per second. All zero for no steps or a counter without frequency.
StepStatistics SummariseSteps(const std::vector<std::int64_t>& ticks, std::int64_t frequency);

// The spread of a set of values (scores of repeated runs). The standard
// deviation is the population's (divided by n), cv = stddev / mean, and
// the median is the mean of the two middle values when n is even. All zero
// for no values; cv is 0 when the mean is 0.
struct Spread {
  double median = 0, mean = 0, min = 0, max = 0, stddev = 0, cv = 0;
};
Spread SpreadOf(std::vector<double> values);

}  // namespace quorvel
