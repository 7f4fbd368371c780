#include "platform/x11/painting/colour_key_shape.h"

#include <X11/extensions/shape.h>

namespace quorvel::x11 {

std::vector<XRectangle> OpaqueRuns(const raster::Surface& picture, Colour key) {
  std::vector<XRectangle> runs;
  const std::uint32_t keyPixel = raster::PixelOf(key);
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    int x = 0;
    while (x < picture.width()) {
      while (x < picture.width() && (row[x] & 0xFFFFFFu) == keyPixel) ++x;
      const int start = x;
      while (x < picture.width() && (row[x] & 0xFFFFFFu) != keyPixel) ++x;
      if (x > start) {
        runs.push_back(XRectangle{static_cast<short>(start), static_cast<short>(y),
                                  static_cast<unsigned short>(x - start), 1});
      }
    }
  }
  return runs;
}

void ApplyColourKeyShape(Display* display, Window window, const raster::Surface& picture,
                         Colour key) {
  std::vector<XRectangle> runs = OpaqueRuns(picture, key);
  // An empty list cuts the whole window away, as an all-key picture should.
  XShapeCombineRectangles(display, window, ShapeBounding, 0, 0, runs.data(),
                          static_cast<int>(runs.size()), ShapeSet, YXBanded);
}

void ClearShape(Display* display, Window window) {
  XShapeCombineMask(display, window, ShapeBounding, 0, 0, None, ShapeSet);
}

}  // namespace quorvel::x11
