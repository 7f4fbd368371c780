#include "bench/step_statistics.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

double Percentile(const std::vector<double>& sortedValues, double percent) {
  if (sortedValues.empty()) return 0;
  const double n = static_cast<double>(sortedValues.size());
  // Rank 1 is the smallest value; a tiny allowance keeps 99 % of 100 values
  // at rank 99 despite binary fractions.
  double rank = std::ceil(percent / 100.0 * n - 1e-9);
  rank = std::clamp(rank, 1.0, n);
  return sortedValues[static_cast<std::size_t>(rank) - 1];
}

StepStatistics SummariseSteps(const std::vector<std::int64_t>& ticks, std::int64_t frequency) {
  StepStatistics result;
  if (ticks.empty() || frequency <= 0) return result;
  std::vector<double> us;
  us.reserve(ticks.size());
  const double perTick = 1e6 / static_cast<double>(frequency);
  for (std::int64_t t : ticks) us.push_back(static_cast<double>(t) * perTick);
  std::sort(us.begin(), us.end());
  result.min = us.front();
  result.p50 = Percentile(us, 50);
  result.p90 = Percentile(us, 90);
  result.p99 = Percentile(us, 99);
  result.max = us.back();
  return result;
}

Spread SpreadOf(std::vector<double> values) {
  Spread s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  s.min = values.front();
  s.max = values.back();
  s.median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  double sum = 0;
  for (double v : values) sum += v;
  s.mean = sum / static_cast<double>(n);
  double squares = 0;
  for (double v : values) squares += (v - s.mean) * (v - s.mean);
  s.stddev = std::sqrt(squares / static_cast<double>(n));
  s.cv = s.mean != 0 ? s.stddev / s.mean : 0;
  return s;
}

}  // namespace quorvel
