#include "skin/image_element.h"

#include "skin/blits.h"

namespace quorvel {
namespace {

using platform::Canvas;
using platform::Rop;

// An edge piece: one StretchBlt, or tiles of the source piece's size.
void EdgePiece(Canvas& c, Canvas& skin, bool stretch, int x, int y, int w, int h, int xs, int ys,
               int ws, int hs) {
  if (stretch) {
    c.StretchBlt(x, y, w, h, skin, xs, ys, ws, hs, Rop::SrcCopy);
  } else {
    TileBlt(c, x, y, w, h, skin, xs, ys, ws, hs);
  }
}

void PaintPieces(const ImageElement& e, Canvas& c, const Rect& r, Canvas& skin) {
  if (e.halftone) c.SetStretchMode(platform::StretchMode::Halftone);
  c.SetClipRect(&r);

  const int sx = e.source.left;
  const int sy = e.source.top;
  const int sw = e.source.Width();
  const int sh = e.source.Height();
  const int mL = e.marginLeft;
  const int mT = e.marginTop;
  const int mR = e.marginRight;
  const int mB = e.marginBottom;
  // The middle column and row: in the element and in the source piece.
  const int midW = r.right - mR - r.left - mL;
  const int midH = r.bottom - mB - r.top - mT;
  const int srcMidW = sw - mR - mL;
  const int srcMidH = sh - mB - mT;

  c.BitBlt(r.left, r.top, mL, mT, skin, sx, sy, Rop::SrcCopy);
  EdgePiece(c, skin, e.stretchLeft != 0, r.left, r.top + mT, mL, midH, sx, sy + mT, mL, srcMidH);
  EdgePiece(c, skin, e.stretchTop != 0, r.left + mL, r.top, midW, mT, sx + mL, sy, srcMidW, mT);

  if (e.stretchCentre) {
    c.StretchBlt(r.left + mL, r.top + mT, midW, midH, skin, sx + mL, sy + mT, srcMidW, srcMidH,
                 Rop::SrcCopy);
  } else if (srcMidW > 0 && srcMidH > 0) {
    // A grid of whole tiles from the top-left; the clip cuts the last ones.
    const int columns = midW / srcMidW + 1;
    const int rows = midH / srcMidH + 1;
    for (int j = 0; j < rows; ++j) {
      for (int i = 0; i < columns; ++i) {
        c.BitBlt(r.left + mL + i * srcMidW, r.top + mT + j * srcMidH, srcMidW, srcMidH, skin,
                 sx + mL, sy + mT, Rop::SrcCopy);
      }
    }
  }

  c.BitBlt(r.right - mR, r.top, mR, mT, skin, sx + sw - mR, sy, Rop::SrcCopy);
  c.BitBlt(r.left, r.bottom - mB, mL, mB, skin, sx, sy + sh - mB, Rop::SrcCopy);
  EdgePiece(c, skin, e.stretchBottom != 0, r.left + mL, r.bottom - mB, midW, mB, sx + mL,
            sy + sh - mB, srcMidW, mB);
  EdgePiece(c, skin, e.stretchRight != 0, r.right - mR, r.top + mT, mR, midH, sx + sw - mR,
            sy + mT, mR, srcMidH);
  c.BitBlt(r.right - mR, r.bottom - mB, mR, mB, skin, sx + sw - mR, sy + sh - mB, Rop::SrcCopy);

  c.SetClipRect(nullptr);
}

}  // namespace

void ImageElement::Draw(Canvas& target, Rect parent, Canvas& skin,
                        const SkinContext& context) const {
  const ImageElement self = *this;
  if (self.hidden == 1) return;
  if (self.source.Width() <= 0 || self.source.Height() <= 0) return;
  Compose(self, target, parent, skin, context, Offscreen::Dib32,
          [&self, &skin](Canvas& c, const Rect& r) { PaintPieces(self, c, r, skin); });
}

}  // namespace quorvel
