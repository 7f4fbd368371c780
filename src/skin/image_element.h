// An element showing a piece of the skin bitmap, cut into nine: four corners
// copied as they are, four edges and the centre stretched or tiled to fill
// the element's rectangle.
#pragma once

#include <cstdint>

#include "skin/screen_element.h"

namespace quorvel {

class ImageElement : public ScreenElement {
 public:
  // An empty source piece (zero or negative width or height) draws nothing,
  // not even the children. The picture is clipped to the rectangle; the
  // clip is removed afterwards, any clip the caller had set with it.
  void Draw(platform::Canvas& target, Rect parent, platform::Canvas& skin,
            const SkinContext& context) const override;

  // Widths of the left and right columns and heights of the top and bottom
  // rows that are copied unscaled, in pixels of the source piece.
  std::int32_t marginLeft = 0;
  std::int32_t marginTop = 0;
  std::int32_t marginRight = 0;
  std::int32_t marginBottom = 0;
  // Non-zero: that piece is stretched (one StretchBlt); zero: tiled.
  std::int32_t stretchLeft = 0;
  std::int32_t stretchTop = 0;
  std::int32_t stretchRight = 0;
  std::int32_t stretchBottom = 0;
  std::int32_t stretchCentre = 0;
  // Non-zero: stretching averages (the context keeps halftone mode).
  std::int32_t halftone = 0;
  Rect source;  // the piece of the skin bitmap
};

}  // namespace quorvel
