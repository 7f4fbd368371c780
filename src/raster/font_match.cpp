#include "raster/font_match.h"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>

namespace quorvel::raster {
namespace {

// Fontconfig's default configuration is shared process state; all use of it
// goes through this lock.
std::mutex& FontconfigLock() {
  static std::mutex lock;
  return lock;
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

FaceChoice Match(const char* family, int weight) {
  std::lock_guard<std::mutex> hold(FontconfigLock());
  FaceChoice choice;
  if (!FcInit()) return choice;
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return choice;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match || result != FcResultMatch) return choice;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) return choice;
  choice.path = reinterpret_cast<const char*>(file);
  int index = 0;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) choice.index = index;
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
    choice.embolden = embolden == FcTrue;
  }
  return choice;
}

}  // namespace

FaceChoice MatchFace(const std::string& family, int weight) {
  return Match(family.empty() ? "sans-serif" : family.c_str(), weight);
}

FaceChoice MatchSansFace(int weight) { return Match("DejaVu Sans", weight); }

}  // namespace quorvel::raster
