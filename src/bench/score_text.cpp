#include "bench/score_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvel {
namespace {

constexpr int kDigits = 5;

// Drops the zeros after the decimal point, but not the point itself.
void TrimFraction(std::string& digits) {
  const std::size_t point = digits.find('.');
  if (point == std::string::npos) {
    digits += '.';
    return;
  }
  std::size_t end = digits.size();
  while (end > point + 1 && digits[end - 1] == '0') --end;
  digits.resize(end);
}

}  // namespace

std::string FormatScore(double value) {
  if (std::isnan(value) || std::isinf(value)) return value < 0 ? "-1.#INF" : "1.#INF";
  if (value == 0.0) return "0.";

  std::string sign;
  if (value < 0) {
    sign = "-";
    value = -value;
  }

  // The exponent after rounding to 5 significant digits: 99999.6 is 1.0000e+005.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kDigits - 1, value);
  const char* e = std::strchr(buffer, 'e');
  const int exponent = std::atoi(e + 1);

  if (exponent < -1 || exponent > kDigits - 1) {
    std::string mantissa(static_cast<const char*>(buffer), e);
    TrimFraction(mantissa);
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return sign + mantissa + tail;
  }

  std::snprintf(buffer, sizeof buffer, "%.*f", kDigits - 1 - exponent, value);
  std::string fixed(buffer);
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
