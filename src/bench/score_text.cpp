#include "bench/score_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace quorvel {
namespace {

constexpr int kDigits = 5;

// Enough decimals to write every double's exact decimal expansion
// (the longest, a subnormal, has 767 significant digits).
constexpr int kExactDecimals = 780;

// The exact decimal expansion of a positive finite value: its significant
// digits (first one nonzero) and the decimal exponent of the first one.
struct DecimalExpansion {
  std::string digits;
  int exponent = 0;
};

DecimalExpansion ExactDigits(double value) {
  char buffer[kExactDecimals + 32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, kExactDecimals);
  DecimalExpansion expansion;
  if (result.ec != std::errc()) return expansion;
  const std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  expansion.digits = text.substr(0, 1) + text.substr(2, e - 2);
  expansion.exponent = std::atoi(text.c_str() + e + 1);
  return expansion;
}

// The first `count` significant digits rounded half up on the exact
// expansion. Returns true when the rounding carried into a new leading
// digit ("99999|5" becomes "100000", one digit longer).
bool RoundHalfUp(const std::string& digits, int count, std::string& rounded) {
  rounded = digits.substr(0, static_cast<std::size_t>(count));
  if (digits[static_cast<std::size_t>(count)] < '5') return false;
  for (int i = count - 1; i >= 0; --i) {
    char& d = rounded[static_cast<std::size_t>(i)];
    if (d != '9') {
      ++d;
      return false;
    }
    d = '0';
  }
  rounded.insert(rounded.begin(), '1');
  return true;
}

// Drops the zeros after the decimal point, but not the point itself.
void TrimFraction(std::string& text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return;
  std::size_t end = text.size();
  while (end > point + 1 && text[end - 1] == '0') --end;
  text.resize(end);
}

}  // namespace

std::string FormatScore(double value) {
  // The runtime's texts for what is not a number. A score is NaN only from
  // 0/0, which the processor answers with its negative "indefinite" NaN,
  // written "-1.#IND"; any NaN is written so.
  if (std::isnan(value)) return "-1.#IND";
  if (std::isinf(value)) return value < 0 ? "-1.#INF" : "1.#INF";
  if (value == 0.0) return "0.";

  std::string sign;
  if (value < 0) {
    sign = "-";
    value = -value;
  }

  // The form is chosen by the exponent before rounding: 99999.5 stays fixed
  // ("100000") and 0.0999996 stays exponential ("1.e-001").
  const DecimalExpansion exact = ExactDigits(value);
  if (exact.digits.empty()) return "0.";
  std::string rounded;
  const bool carried = RoundHalfUp(exact.digits, kDigits, rounded);

  if (exact.exponent < -1 || exact.exponent > kDigits - 1) {
    int exponent = exact.exponent;
    if (carried) {
      rounded.pop_back();
      ++exponent;
    }
    std::string mantissa = rounded.substr(0, 1) + "." + rounded.substr(1);
    TrimFraction(mantissa);
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return sign + mantissa + tail;
  }

  // Fixed form: 4 - exponent decimals, and no point when that is none.
  const int decimals = kDigits - 1 - exact.exponent;
  std::string fixed;
  if (exact.exponent < 0) {
    // 0.0ddddd: the leading zeros, then the digits (a carry makes "1.00000").
    if (carried) {
      fixed = "1." + rounded.substr(1, static_cast<std::size_t>(decimals));
    } else {
      fixed = "0." + std::string(static_cast<std::size_t>(-exact.exponent - 1), '0') + rounded;
    }
  } else {
    const std::size_t integer_digits = rounded.size() - static_cast<std::size_t>(decimals);
    fixed = rounded.substr(0, integer_digits);
    if (decimals > 0) fixed += "." + rounded.substr(integer_digits);
  }
  TrimFraction(fixed);
  return sign + fixed;
}

double ParseScore(const std::string& text) { return std::atof(text.c_str()); }

std::int32_t TruncatedValue(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<std::int32_t>(value);
}

}  // namespace quorvel
