#include "raster/shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

  // insets[j]: how far row j of the shape starts in from each side. The
  // bottom half mirrors the top, so the shape is symmetric both ways.
  std::vector<int> insets(static_cast<std::size_t>(height), 0);
  for (int j = 0; j < height; ++j) {
    const int fromEdge = std::min(j, height - 1 - j);
    insets[j] = ew == 0 ? 0 : CornerInset(fromEdge, ew, eh);
  }
  auto inShape = [&](int x, int j) {
    if (j < 0 || j >= height || x < 0 || x >= width) return false;
    return x >= insets[j] && x < width - insets[j];
  };

  for (int j = 0; j < height; ++j) {
    const int y = box.top + j;
    const int start = insets[j];
    const int end = width - insets[j];
    if (start >= end) continue;
    if (pen.width <= 0) {
      FillSpan(t, y, box.left + start, box.left + end, brush);
      continue;
    }
    // A pixel of the shape is on the outline when a pixel within the pen's
    // width above, below, left or right of it is outside the shape.
    int x = start;
    while (x < end) {
      bool edge = false;
      for (int d = 1; d <= pen.width && !edge; ++d) {
        edge = !inShape(x - d, j) || !inShape(x + d, j) || !inShape(x, j - d) || !inShape(x, j + d);
      }
      int runEnd = x + 1;
      if (edge) {
        SolidRect(t, box.left + x, y, box.left + runEnd, y + 1, pen.pixel);
      } else {
        // Interior pixels come in one run up to the mirrored outline.
        runEnd = width - x;
        FillSpan(t, y, box.left + x, box.left + runEnd, brush);
      }
      x = runEnd;
    }
  }
}

}  // namespace quorvel::raster
