// An element drawn as a rectangle or rounded rectangle with a pen and a
// solid or hatched brush.
#pragma once

#include <cstdint>

#include "skin/screen_element.h"

namespace quorvel {

class BoxElement : public ScreenElement {
 public:
  // A magenta fill draws no box (the children are still drawn). With rx and
  // ry both 0 the box is a Rectangle, otherwise a RoundRect with ellipse
  // size rx x ry.
  void Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
            const SkinContext& context) const override;

  Colour fill = 0;
  Colour penColor = 0;
  std::int32_t penStyle = 0;  // platform::kPenSolid, kPenNull, ...
  std::int32_t penWidth = 0;
  std::int32_t hatch = 0;     // a GDI hatch style, or platform::kHatchNone for a solid brush
  std::int32_t rx = 0;
  std::int32_t ry = 0;
};

}  // namespace quorvel
