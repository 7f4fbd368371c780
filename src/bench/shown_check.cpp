#include "bench/shown_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/dialog.h"

namespace quorvel {
namespace {

int Channel(Colour c, int channel) {
  return channel == 0 ? RedOf(c) : channel == 1 ? GreenOf(c) : BlueOf(c);
}

// Every channel within `tolerance` of the other colour's.
bool Near(Colour a, Colour b, int tolerance) {
  for (int ch = 0; ch < 3; ++ch) {
    if (std::abs(Channel(a, ch) - Channel(b, ch)) > tolerance) return false;
  }
  return true;
}

// A 16-bit screen keeps 5 bits of red and blue: 8 steps of rounding.
constexpr int kColourTolerance = 8;

}  // namespace

const char* ShownText(ShownVerdict verdict) {
  switch (verdict) {
    case ShownVerdict::AsAsked:
      return "as asked";
    case ShownVerdict::Opaque:
      return "opaque";
    case ShownVerdict::KeyNotApplied:
      return "key not applied";
    case ShownVerdict::NotAsAsked:
      return "not as asked";
    case ShownVerdict::Unknown:
      break;
  }
  return "unknown";
}

double AskedFraction(const LayeredTest& test) {
  if ((test.flags & platform::kLwaAlpha) == 0) return 1.0;
  return std::clamp(test.alpha, 0, 255) / 255.0;
}

ShownRecord JudgeShown(const LayeredTest& test, const std::vector<ShownPixel>& pixels) {
  const bool keyed = (test.flags & platform::kLwaColourKey) != 0;
  int keyShown = 0;      // key-coloured pixels shown in the key colour
  int keyCutOut = 0;     // ... shown as what lies beneath
  std::vector<double> fractions;
  for (const ShownPixel& p : pixels) {
    if (keyed && p.window == test.key) {
      if (Near(p.beneath, test.key, kColourTolerance)) continue;  // cannot tell
      if (Near(p.shown, test.key, kColourTolerance)) {
        ++keyShown;
      } else if (Near(p.shown, p.beneath, kColourTolerance)) {
        ++keyCutOut;
      }
      continue;
    }
    for (int ch = 0; ch < 3; ++ch) {
      const int gap = Channel(p.window, ch) - Channel(p.beneath, ch);
      if (std::abs(gap) < kTellingChannelGap) continue;
      fractions.push_back(static_cast<double>(Channel(p.shown, ch) - Channel(p.beneath, ch)) /
                          gap);
    }
  }

  ShownRecord record;
  if (!fractions.empty()) {
    const auto middle = fractions.begin() + static_cast<std::ptrdiff_t>(fractions.size() / 2);
    std::nth_element(fractions.begin(), middle, fractions.end());
    record.fractionMeasured = true;
    record.blendFraction = std::clamp(*middle, 0.0, 1.0);
  }
  if (keyShown > keyCutOut) {
    record.verdict = ShownVerdict::KeyNotApplied;
  } else if (!record.fractionMeasured) {
    record.verdict = keyCutOut > 0 ? ShownVerdict::AsAsked : ShownVerdict::Unknown;
  } else {
    const double asked = AskedFraction(test);
    if (std::fabs(record.blendFraction - asked) <= kFractionTolerance) {
      record.verdict = ShownVerdict::AsAsked;
    } else if (record.blendFraction >= 1.0 - kFractionTolerance) {
      record.verdict = ShownVerdict::Opaque;
    } else {
      record.verdict = ShownVerdict::NotAsAsked;
    }
  }
  return record;
}

std::string ShownWarning(const std::string& label, const ShownRecord& shown) {
  const std::string head = "quorvel: this desktop showed the " + label + " test ";
  switch (shown.verdict) {
    case ShownVerdict::Opaque:
      return head + "opaque; its score measures an opaque window";
    case ShownVerdict::KeyNotApplied:
      return head + "without its colour key; its score measures a window without holes";
    case ShownVerdict::NotAsAsked: {
      char percent[16];
      std::snprintf(percent, sizeof percent, "%.0f%%", shown.blendFraction * 100);
      return head + "at " + percent + " visibility; its score measures that window";
    }
    case ShownVerdict::AsAsked:
    case ShownVerdict::Unknown:
      break;
  }
  return "";
}

}  // namespace quorvel
