// Pixel helpers for the skin tests: random surfaces with key pixels and
// whole-surface comparison.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "raster/surface.h"

namespace quorvel::testing {

// Random colours with a zero fourth byte unless `fourthBytes`; about one
// pixel in `keyEvery` is magenta (with a random fourth byte when
// `fourthBytes`).
inline void FillRandom(raster::Surface& s, std::mt19937& rng, int keyEvery, bool fourthBytes) {
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      std::uint32_t p = rng();
      if (keyEvery > 0 && rng() % keyEvery == 0) p = 0x00FF00FFu | (p & 0xFF000000u);
      s.Row(y)[x] = fourthBytes ? p : p & 0x00FFFFFFu;
    }
  }
}

// The first pixel where the surfaces differ, as text; empty when they agree.
inline std::string FirstDifference(const raster::Surface& a, const raster::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.Row(y)[x] != b.Row(y)[x]) {
        return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " +
               std::to_string(a.Row(y)[x]) + " vs " + std::to_string(b.Row(y)[x]);
      }
    }
  }
  return "";
}

inline void CopyPixels(const raster::Surface& from, raster::Surface& to) {
  for (int y = 0; y < from.height(); ++y) {
    for (int x = 0; x < from.width(); ++x) to.Row(y)[x] = from.Row(y)[x];
  }
}

}  // namespace quorvel::testing
