// Choosing an installed font file for a face name and weight with fontconfig.
#pragma once

#include <string>

namespace quorvel::raster {

struct FaceChoice {
  std::string path;       // empty when nothing usable is installed
  int index = 0;          // face within the file
  bool embolden = false;  // the file is lighter than asked: embolden glyphs
};

// The installed face closest to `family` at `weight` (400 normal, 700 bold).
// Falls back to the configured sans face when the family is not installed.
// Safe to call from any thread.
FaceChoice MatchFace(const std::string& family, int weight);

// The fallback sans face at `weight`, for when a chosen file cannot be read.
FaceChoice MatchSansFace(int weight);

}  // namespace quorvel::raster
