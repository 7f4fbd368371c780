#include "platform/x11/display/display_mode.h"

#include "platform/x11/display/x_connection.h"

namespace quorvel::x11 {

int RefreshRate(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool doubleScan) {
  unsigned long long pixels = static_cast<unsigned long long>(hTotal) * vTotal;
  if (doubleScan) pixels *= 2;
  if (pixels == 0) return 0;
  return static_cast<int>((dotClock + pixels / 2) / pixels);
}

platform::DisplayMode ModeOfOutputs(const std::vector<RandrOutput>& outputs, int screenWidth,
                                    int screenHeight, int bitsPerPixel) {
  platform::DisplayMode mode;
  mode.width = screenWidth;
  mode.height = screenHeight;
  mode.planes = 1;
  mode.bitsPerPixel = bitsPerPixel;
  if (const RandrOutput* output = DesktopOutput(outputs)) {
    if (output->width > 0 && output->height > 0) {
      mode.width = output->width;
      mode.height = output->height;
    }
    mode.refresh = RefreshRate(output->dotClock, output->hTotal, output->vTotal, output->doubleScan);
  }
  return mode;
}

platform::DisplayMode ReadDisplayMode(XConnection& c) {
  return ModeOfOutputs(ReadRandrOutputs(c.display(), c.root()), c.screenWidth(), c.screenHeight(),
                       c.pixelLayout().bitsPerPixel);
}

Rect DesktopArea(XConnection& c) {
  const std::vector<RandrOutput> outputs = ReadRandrOutputs(c.display(), c.root());
  const RandrOutput* output = DesktopOutput(outputs);
  if (output == nullptr || output->width <= 0 || output->height <= 0) {
    return Rect{0, 0, c.screenWidth(), c.screenHeight()};
  }
  return Rect{output->x, output->y, output->x + output->width, output->y + output->height};
}

}  // namespace quorvel::x11
