// The four layered-window tests: the attributes each applies to the test
// window and the label of its report line.
#pragma once

#include <string>

#include "platform/geometry.h"

namespace quorvel {

struct LayeredTest {
  bool known;        // false: no attributes, no label
  Colour key;        // colour key (LWA_COLORKEY)
  int alpha;         // constant alpha (LWA_ALPHA)
  unsigned flags;    // LWA_ALPHA or LWA_COLORKEY
  const char* label; // appended to the report before the score
};

// The test of `layeredTestIndex`: 0 "50% visibility", 1 "100% visibility",
// 2 "47% visibility", 3 "Black as transparent".
LayeredTest LayeredTestFor(int layeredTestIndex);

// The name in a report label: "\r\n  50% visibility : " is "50% visibility".
std::string ReportLabelName(const std::string& label);

// The order in which a run performs the tests.
constexpr int kLayeredTestOrder[] = {3, 2, 0, 1};

// The window's place and size at each of the 900 steps of a test: 300 to
// the right, 300 down, 300 diagonally.
constexpr int kStepsPerPass = 300;
constexpr int kTestSteps = 3 * kStepsPerPass;
struct TestStep {
  int x, y, w, h;
};
TestStep LayeredTestStep(int step);

}  // namespace quorvel
