#include "bench/score_precision.h"

#include <algorithm>
#include <cmath>

#include "bench/step_statistics.h"

namespace quorvel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// P(|T| <= t) for Student's t with `v` degrees of freedom, by the finite
// series of Abramowitz and Stegun 26.7.3 (odd v) and 26.7.4 (even v).
double CentralProbability(double t, int v) {
  const double theta = std::atan(t / std::sqrt(static_cast<double>(v)));
  const double c = std::cos(theta), s = std::sin(theta);
  double sum = 0;
  if (v % 2 == 1) {
    if (v > 1) {
      double term = c;  // cos(theta), then (2/3) cos^3(theta), ...
      sum = term;
      for (int j = 1; j <= (v - 3) / 2; ++j) {
        term *= (2.0 * j) / (2.0 * j + 1) * c * c;
        sum += term;
      }
    }
    return 2 / kPi * (theta + s * sum);
  }
  double term = 1;  // 1, then (1/2) cos^2(theta), (1*3)/(2*4) cos^4(theta), ...
  sum = term;
  for (int j = 1; j <= (v - 2) / 2; ++j) {
    term *= (2.0 * j - 1) / (2.0 * j) * c * c;
    sum += term;
  }
  return s * sum;
}

double MedianOfSorted(const std::vector<double>& v) {
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

double StudentT95(int degrees) {
  const int v = std::max(degrees, 1);
  // The probability grows with t; halve [0, 1000] until it is tight.
  double low = 0, high = 1000;
  for (int i = 0; i < 100; ++i) {
    const double mid = (low + high) / 2;
    (CentralProbability(mid, v) < 0.95 ? low : high) = mid;
  }
  return (low + high) / 2;
}

MedianInterval MedianConfidenceInterval(const std::vector<double>& values) {
  MedianInterval result;
  const std::size_t n = values.size();
  if (n < 2) return result;
  const Spread spread = SpreadOf(values);
  const double sampleDeviation =
      spread.stddev * std::sqrt(static_cast<double>(n) / static_cast<double>(n - 1));
  const double standardError =
      std::sqrt(kPi / 2) * sampleDeviation / std::sqrt(static_cast<double>(n));
  const double halfWidth = StudentT95(static_cast<int>(n) - 1) * standardError;
  result.known = true;
  result.median = spread.median;
  result.low = spread.median - halfWidth;
  result.high = spread.median + halfWidth;
  if (spread.median > 0) {
    result.relativeKnown = true;
    result.relativeHalfWidth = halfWidth / spread.median;
  }
  return result;
}

std::vector<bool> FarFromMedian(const std::vector<double>& values) {
  std::vector<bool> far(values.size(), false);
  if (values.empty()) return far;
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const double median = MedianOfSorted(sorted);
  std::vector<double> deviations;
  deviations.reserve(values.size());
  for (double v : values) deviations.push_back(std::fabs(v - median));
  std::sort(deviations.begin(), deviations.end());
  double scale = 1.4826 * MedianOfSorted(deviations);
  if (scale == 0) {
    double sum = 0;
    for (double d : deviations) sum += d;
    scale = 1.2533 * sum / static_cast<double>(deviations.size());
  }
  if (scale == 0) return far;
  const double limit = 3 * scale;
  for (std::size_t i = 0; i < values.size(); ++i) far[i] = std::fabs(values[i] - median) > limit;
  return far;
}

}  // namespace quorvel
