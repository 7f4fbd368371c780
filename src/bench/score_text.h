// Scores as text: formatted once with 5 significant digits, and read back
// by everything that adds them up.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// Formats `value` the way the Windows C runtime's _gcvt(value, 5, buffer)
// does, on every platform: fixed notation with 5 significant digits when
// the decimal exponent is -1 to 4, else d.dddde+xxx; trailing zeros after
// the point are removed but the point is kept ("40.", "1.e+005").
std::string FormatScore(double value);

// Reads a score text back as a number (atof: the longest leading number,
// 0 when there is none).
double ParseScore(const std::string& text);

// The integer part of a score: truncated toward zero into 32 bits (values
// beyond that range are clamped rather than left undefined).
std::int32_t TruncatedValue(double value);

}  // namespace quorvel
