#include "platform/x11/display/colour_cube.h"

namespace quorvel::x11 {
namespace {

// Level `level` of `top` as a 16-bit colour value: the nearest 8-bit
// intensity, repeated in both bytes, so servers that keep 8 bits of a
// colour keep exactly that intensity.
unsigned short Intensity(int level, int top) {
  const int v = (level * 255 + top / 2) / top;
  return static_cast<unsigned short>(v * 257);
}

}  // namespace

VisualColours ColoursOf(const Visual* visual) {
  if (visual->c_class == TrueColor) return VisualColours::Fixed;
  if (visual->c_class == DirectColor) return VisualColours::Ramps;
  return VisualColours::Colormap;
}

std::unique_ptr<ColourCube> ColourCube::AllocateRamp(Display* display, int screen) {
  std::unique_ptr<ColourCube> ramp(
      new ColourCube(display, DefaultColormap(display, screen), false, 0));
  std::vector<XColor> greys(256);
  for (int v = 0; v < 256; ++v) {
    greys[v].red = greys[v].green = greys[v].blue = static_cast<unsigned short>(v * 257);
    greys[v].flags = DoRed | DoGreen | DoBlue;
  }
  if (!ramp->FillWith(std::move(greys))) return nullptr;
  return ramp;
}

std::unique_ptr<ColourCube> ColourCube::Allocate(Display* display, int screen, Visual* visual,
                                                 int levels) {
  // Cells already holding a cube colour are shared, so a smaller cube may
  // fit where a large one does not (Xvfb keeps 73 of 256 cells for its own
  // colours). Below 4 levels the picture suffers more than from a colormap
  // of its own.
  const int fewest = levels < kFewestSharedLevels ? levels : kFewestSharedLevels;
  for (int n = levels; n >= fewest; --n) {
    std::unique_ptr<ColourCube> cube(
        new ColourCube(display, DefaultColormap(display, screen), false, n));
    if (cube->Fill()) return cube;
  }
  // Static visuals always answer with their nearest colour, so only a
  // full dynamic colormap gets here.
  const Colormap own = XCreateColormap(display, RootWindow(display, screen), visual, AllocNone);
  if (own == None) return nullptr;
  std::unique_ptr<ColourCube> cube(new ColourCube(display, own, true, levels));
  if (!cube->Fill()) return nullptr;
  // A window manager installs the focused window's colormap; without one
  // nobody would, and the program's colours would show through the
  // default colormap's.
  XInstallColormap(display, own);
  return cube;
}

bool ColourCube::Fill() {
  const int top = levels_ - 1;
  std::vector<XColor> colours;
  for (int r = 0; r < levels_; ++r) {
    for (int g = 0; g < levels_; ++g) {
      for (int b = 0; b < levels_; ++b) {
        XColor colour{};
        colour.red = Intensity(r, top);
        colour.green = Intensity(g, top);
        colour.blue = Intensity(b, top);
        colour.flags = DoRed | DoGreen | DoBlue;
        colours.push_back(colour);
      }
    }
  }
  return FillWith(std::move(colours));
}

bool ColourCube::FillWith(std::vector<XColor> colours) {
  cells_.clear();
  for (XColor& colour : colours) {
    if (XAllocColor(display_, colormap_, &colour) == 0) {
      if (!cells_.empty()) {
        XFreeColors(display_, colormap_, cells_.data(), static_cast<int>(cells_.size()), 0);
      }
      cells_.clear();
      return false;
    }
    cells_.push_back(colour.pixel);
  }
  return true;
}

ColourCube::~ColourCube() {
  if (private_) {
    XFreeColormap(display_, colormap_);
  } else if (!cells_.empty()) {
    XFreeColors(display_, colormap_, cells_.data(), static_cast<int>(cells_.size()), 0);
  }
}

}  // namespace quorvel::x11
