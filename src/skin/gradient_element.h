// An element filled with a horizontal two-colour gradient.
#pragma once

#include "skin/screen_element.h"

namespace quorvel {

class GradientElement : public ScreenElement {
 public:
  void Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
            const SkinContext& context) const override;

  Colour color1 = 0;  // at the left edge
  Colour color2 = 0;  // toward the right edge
};

}  // namespace quorvel
