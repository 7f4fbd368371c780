#include "bench/run_record.h"

#include <algorithm>
#include <numeric>

namespace quorvel {

std::size_t MedianRunIndex(const std::vector<SequenceRecord>& runs) {
  if (runs.empty()) return 0;
  std::vector<std::size_t> order(runs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return runs[a].overallScore < runs[b].overallScore;
  });
  return order[(order.size() - 1) / 2];
}

}  // namespace quorvel
