// Reading a whole number written in decimal digits, as the upload, the
// pages' parameters and the command line take them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvel::results_site {

// The value of `text` when it is 1 to `maxDigits` (at most 18) decimal
// digits and nothing else: no sign, no blanks.
std::optional<std::int64_t> WholeNumber(std::string_view text, std::size_t maxDigits);

}  // namespace quorvel::results_site
