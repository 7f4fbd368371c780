#include "skin/text_element.h"

namespace quorvel {
namespace {

// The shadow's offset for a shadow mode; false for no shadow.
bool ShadowOffset(std::int32_t mode, int& dx, int& dy) {
  switch (mode) {
    case kShadowRight2Down1: dx = 2; dy = 1; return true;
    case kShadowRight2Down2: dx = 2; dy = 2; return true;
    default: return false;
  }
}

}  // namespace

void TextElement::Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
                       const SkinContext& context) const {
  const TextElement self = *this;
  Compose(self, target, parent, skin, context, Offscreen::CompatibleText,
          [&self](platform::Canvas& c, const Rect& r) {
            const platform::Font* previous = c.SelectFont(self.font);
            c.SetBkMode(platform::BkMode::Transparent);
            int dx = 0;
            int dy = 0;
            if (ShadowOffset(self.shadowMode, dx, dy)) {
              c.SetTextColour(self.shadowColor);
              Rect shadow = r.Offset(dx, dy);
              c.DrawText(self.text, shadow, self.dtFormat);
            }
            c.SetTextColour(self.color);
            Rect box = r;
            c.DrawText(self.text, box, self.dtFormat);
            c.SelectFont(previous);
          });
}

}  // namespace quorvel
