// Whether the desktop showed a test window as the test asked: its picture
// blended at the test's opacity over what lies beneath, opaque at 100 %,
// and where it is colour-keyed, what lies beneath in place of the key
// colour's pixels. Judged from pixels read back from the screen.
#pragma once

#include <string>
#include <vector>

#include "bench/layered_tests.h"
#include "platform/geometry.h"

namespace quorvel {

enum class ShownVerdict {
  AsAsked,        // the opacity (and the key) as the test asked
  Opaque,         // no translucency shown where the test asked for some
  KeyNotApplied,  // the key colour's pixels shown in the key colour
  NotAsAsked,     // blended, at another opacity than the one asked for
  Unknown,        // the screen cannot be read back, or tells nothing
};

// "as asked", "opaque", "key not applied", "not as asked", "unknown".
const char* ShownText(ShownVerdict verdict);

struct ShownRecord {
  ShownVerdict verdict = ShownVerdict::Unknown;
  // The window's share of what was shown, from 0 (not shown) to 1
  // (opaque), where it could be measured.
  bool fractionMeasured = false;
  double blendFraction = 0;
};

// One place of the window's client area: the colour the window paints
// there, what the screen shows there without the window, and with it.
struct ShownPixel {
  Colour window;
  Colour beneath;
  Colour shown;
};

// How far apart the window's and the background's channel must be for the
// pixel to tell the blend: close colours give a fraction rounding alone
// could move far.
constexpr int kTellingChannelGap = 48;
// How far the measured fraction may lie from the asked one: the desktop's
// 8-bit rounding and a 16-bit screen's coarser channels.
constexpr double kFractionTolerance = 0.05;

// The opacity the test asks for: alpha / 255, or 1 without LWA_ALPHA.
double AskedFraction(const LayeredTest& test);

// The verdict on `pixels`: the fraction is the median of every telling
// channel's (shown - beneath) / (window - beneath), over the pixels that
// are not key-coloured; key-coloured pixels whose background differs from
// the key show whether the key was applied.
ShownRecord JudgeShown(const LayeredTest& test, const std::vector<ShownPixel>& pixels);

// The line standard error gets for a test not shown as asked, after the
// report; empty for a test shown as asked or not known. `label` is the
// test's report name ("47% visibility").
std::string ShownWarning(const std::string& label, const ShownRecord& shown);

}  // namespace quorvel
