// A check that stops the fuzzer with a message when a property of the
// code under test does not hold; libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition, message)                                          \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, message, #condition); \
      std::abort();                                                             \
    }                                                                           \
  } while (0)

namespace quorvel::fuzz {

// True when `text` holds a byte below 0x20 or DEL: no such text may reach a
// line of the report or a stored result.
inline bool HasControl(const std::string& text) {
  for (const unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

}  // namespace quorvel::fuzz
