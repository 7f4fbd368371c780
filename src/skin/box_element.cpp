#include "skin/box_element.h"

namespace quorvel {

void BoxElement::Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
                      const SkinContext& context) const {
  const BoxElement self = *this;
  Compose(self, target, parent, skin, context, Offscreen::Compatible,
          [&self](platform::Canvas& c, const Rect& r) {
            const platform::Brush brush{self.fill, self.hatch};
            const platform::Pen pen{self.penStyle, self.penWidth, self.penColor};
            if (self.fill == kKeyMagenta) return;
            if (self.rx == 0 && self.ry == 0) {
              c.Rectangle(r, pen, brush);
            } else {
              c.RoundRect(r, self.rx, self.ry, pen, brush);
            }
          });
}

}  // namespace quorvel
