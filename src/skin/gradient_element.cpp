#include "skin/gradient_element.h"

namespace quorvel {

void GradientElement::Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
                           const SkinContext& context) const {
  const GradientElement self = *this;
  Compose(self, target, parent, skin, context, Offscreen::Compatible,
          [&self](platform::Canvas& c, const Rect& r) {
            c.GradientFillH(r, self.color1, self.color2);
          });
}

}  // namespace quorvel
