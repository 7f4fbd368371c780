#include "values/whole_number.h"

#include <algorithm>

namespace quorvel::results_site {

std::optional<std::int64_t> WholeNumber(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > std::min<std::size_t>(maxDigits, 18)) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace quorvel::results_site
