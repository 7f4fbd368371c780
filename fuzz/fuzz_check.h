// A check that stops the fuzzer with a message when a property of the
// code under test does not hold; libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, message)                                          \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "%s:%d: %s (%s)\n", __FILE__, __LINE__, message, #condition); \
      std::abort();                                                             \
    }                                                                           \
  } while (0)
