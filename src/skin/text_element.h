// An element showing text with DrawText, optionally over a shadow.
#pragma once

#include <cstdint>
#include <string>

#include "skin/screen_element.h"

namespace quorvel {

// Where the shadow falls, right and down from the text.
enum ShadowMode : std::int32_t {
  kNoShadow = 0,
  kShadowRight2Down1 = 1,
  kShadowRight2Down2 = 2,
  // any other value: no shadow
};

class TextElement : public ScreenElement {
 public:
  // Draws with a transparent background (the mode stays set) and the given
  // font, which is selected only for the drawing.
  void Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
            const SkinContext& context) const override;
  bool HasSoftEdges() const override { return true; }

  Colour color = 0;
  Colour shadowColor = 0;
  const platform::Font* font = nullptr;  // not owned; null: the system font
  std::int32_t shadowMode = kNoShadow;
  std::uint32_t dtFormat = 0;  // platform::dt flags
  std::string text;
};

}  // namespace quorvel
