#include "raster/shapes.h"

#include <algorithm>
#include <cmath>

#include "raster/rect_ops.h"

namespace quorvel::raster {
namespace {

void SolidRect(const DrawTarget& t, int left, int top, int right, int bottom, std::uint32_t px) {
  BrushPaint solid;
  solid.pixel = px;
  FillRect(t, Rect{left, top, right, bottom}, solid);
}

// How far the rounded corner pulls row j (0 = the top row of the shape) in
// from the side, for a corner ellipse of ew x eh pixels. A pixel belongs to
// the ellipse when its centre lies inside the ellipse inscribed in the
// ew x eh box.
int CornerInset(int j, int ew, int eh) {
  const double a = ew / 2.0;
  const double b = eh / 2.0;
  const double dy = (j + 0.5 - b) / b;
  if (dy >= 0.0) return 0;
  const double halfWidth = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
  const double inset = std::ceil(a - halfWidth - 0.5);
  return std::max(0, static_cast<int>(inset));
}

}  // namespace

PenPaint ResolvePen(const DrawTarget& t, const platform::Pen& pen) {
  PenPaint p;
  if (pen.style == platform::kPenNull) {
    p.width = 0;
    return p;
  }
  p.pixel = DevicePixel(t, pen.colour);
  p.width = std::max(1, pen.width);
  return p;
}

void DrawRectangle(const DrawTarget& t, const Rect& rect, const PenPaint& pen,
                   const BrushPaint& brush) {
  const Rect r = Normalized(rect);
  if (pen.width <= 0) {
    FillRect(t, Rect{r.left, r.top, r.right - 1, r.bottom - 1}, brush);
    return;
  }
  if (IsEmpty(r)) return;
  const int w = pen.width;
  // The outline: full top and bottom bands, then the sides between them.
  SolidRect(t, r.left, r.top, r.right, std::min(r.bottom, r.top + w), pen.pixel);
  SolidRect(t, r.left, std::max(r.top, r.bottom - w), r.right, r.bottom, pen.pixel);
  const int innerTop = r.top + w;
  const int innerBottom = r.bottom - w;
  if (innerTop >= innerBottom) return;
  SolidRect(t, r.left, innerTop, std::min(r.right, r.left + w), innerBottom, pen.pixel);
  SolidRect(t, std::max(r.left, r.right - w), innerTop, r.right, innerBottom, pen.pixel);
  FillRect(t, Rect{r.left + w, innerTop, r.right - w, innerBottom}, brush);
}

void DrawRoundRect(const DrawTarget& t, const Rect& rect, int ellipseWidth, int ellipseHeight,
                   const PenPaint& pen, const BrushPaint& brush) {
  Rect box = Normalized(rect);
  if (pen.width <= 0) {
    box.right -= 1;
    box.bottom -= 1;
  }
  if (IsEmpty(box)) return;
  const int width = box.Width();
  const int height = box.Height();
  int ew = std::min(std::abs(ellipseWidth), width);
  int eh = std::min(std::abs(ellipseHeight), height);
  if (ew <= 1 || eh <= 1) ew = eh = 0;

  // How far row j of the shape starts in from each side. The bottom half
  // mirrors the top, so the shape is symmetric both ways.
  auto inset = [&](int j) { return ew == 0 ? 0 : CornerInset(std::min(j, height - 1 - j), ew, eh); };

  // Only the rows inside the target's area are visited; spans are clipped.
  const Rect visible = Intersect(box, t.area);
  if (IsEmpty(visible)) return;
  for (int y = visible.top; y < visible.bottom; ++y) {
    const int j = y - box.top;
    const int in = inset(j);
    if (pen.width <= 0) {
      FillSpan(t, y, box.left + in, box.left + width - in, brush);
      continue;
    }
    // A pixel of the shape is on the outline when a pixel up to the pen's
    // width above, below, left or right of it is outside the shape. So the
    // interior of row j is [a, width - a), with a the largest of
    // inset(j) + pen width and the insets of the rows within the pen's
    // width; rows that near the top or bottom have none.
    int a = in + pen.width;
    const bool nearEdge = j < pen.width || j >= height - pen.width;
    for (int d = 1; d <= pen.width && !nearEdge; ++d) a = std::max({a, inset(j - d), inset(j + d)});
    if (nearEdge || a >= width - a) {
      SolidRect(t, box.left + in, y, box.left + width - in, y + 1, pen.pixel);
      continue;
    }
    SolidRect(t, box.left + in, y, box.left + a, y + 1, pen.pixel);
    FillSpan(t, y, box.left + a, box.left + width - a, brush);
    SolidRect(t, box.left + width - a, y, box.left + width - in, y + 1, pen.pixel);
  }
}

}  // namespace quorvel::raster
