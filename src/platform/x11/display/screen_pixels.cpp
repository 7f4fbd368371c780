#include "platform/x11/display/screen_pixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

#include "platform/x11/display/x_connection.h"
#include "platform/x11/display/x_errors.h"

namespace quorvel::x11 {
namespace {

struct ImageDeleter {
  void operator()(XImage* image) const { XDestroyImage(image); }
};

// One channel of a TrueColor pixel, scaled from its mask's width to 0..255.
class ChannelReader {
 public:
  explicit ChannelReader(unsigned long mask) : mask_(mask) {
    while (mask != 0 && (mask & 1u) == 0) {
      mask >>= 1;
      ++shift_;
    }
    max_ = mask;
  }
  int operator()(unsigned long pixel) const {
    if (max_ == 0) return 0;
    const unsigned long value = (pixel & mask_) >> shift_;
    return static_cast<int>((value * 255 + max_ / 2) / max_);
  }

 private:
  unsigned long mask_;
  int shift_ = 0;
  unsigned long max_ = 0;
};

}  // namespace

bool ReadScreenPixels(XConnection& c, const Rect& r, std::vector<Colour>& pixels) {
  pixels.clear();
  if (r.left < 0 || r.top < 0 || r.Width() <= 0 || r.Height() <= 0 ||
      r.right > c.screenWidth() || r.bottom > c.screenHeight()) {
    return false;
  }
  Display* d = c.display();
  XWindowAttributes root{};
  if (!XGetWindowAttributes(d, c.root(), &root) || root.visual == nullptr ||
      root.visual->c_class != TrueColor) {
    return false;
  }
  XErrorTrap trap(d);
  std::unique_ptr<XImage, ImageDeleter> image(XGetImage(d, c.root(), r.left, r.top,
                                                        static_cast<unsigned>(r.Width()),
                                                        static_cast<unsigned>(r.Height()),
                                                        AllPlanes, ZPixmap));
  if (trap.Error() != Success || !image) return false;
  const ChannelReader red(root.visual->red_mask);
  const ChannelReader green(root.visual->green_mask);
  const ChannelReader blue(root.visual->blue_mask);
  pixels.reserve(static_cast<std::size_t>(r.Width()) * r.Height());
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) {
      const unsigned long p = XGetPixel(image.get(), x, y);
      pixels.push_back(Rgb(red(p), green(p), blue(p)));
    }
  }
  return true;
}

}  // namespace quorvel::x11
