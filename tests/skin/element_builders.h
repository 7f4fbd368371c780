// Small builders for screen elements in the tests.
#pragma once

#include "platform/canvas.h"
#include "skin/box_element.h"
#include "skin/screen_element.h"

namespace quorvel::testing {

// Every edge absolute: the element's rectangle is r wherever its parent is.
inline void PlaceAt(ScreenElement& e, const Rect& r) {
  e.lMode = e.tMode = e.rMode = e.bMode = kEdgeAbsolute;
  e.lVal = r.left;
  e.tVal = r.top;
  e.rVal = r.right;
  e.bVal = r.bottom;
}

// A box filling r with one colour, outline included.
inline BoxElement SolidBox(const Rect& r, Colour fill) {
  BoxElement b;
  PlaceAt(b, r);
  b.fill = fill;
  b.penColor = fill;
  b.penStyle = platform::kPenSolid;
  b.penWidth = 0;
  b.hatch = platform::kHatchNone;
  return b;
}

}  // namespace quorvel::testing
