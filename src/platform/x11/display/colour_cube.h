// The colours the program draws with on a visual whose pixels index a
// colormap: on 8-bit PseudoColor and its static and grey kin a cube of
// levels^3 colours, allocated read-only in the default colormap where it
// has room, else in a colormap of the program's own; on DirectColor, whose
// channels each index a map of their own, every intensity of each channel.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace quorvel::x11 {

class ColourCube {
 public:
  // The cube for `visual` of `screen`, of `levels` per channel or, where
  // the default colormap has no room for that many, of fewer (down to
  // kFewestSharedLevels). When even that does not fit (other programs hold
  // the cells), the whole cube comes from a private colormap, installed at
  // once. Null only when nothing works.
  static std::unique_ptr<ColourCube> Allocate(Display* display, int screen, Visual* visual,
                                              int levels);
  // On DirectColor: the 256 greys in the default colormap, so that each
  // channel's field of cells()[v] is the channel's intensity v. Null when
  // the colormap has no room (a cube is the way out then).
  static std::unique_ptr<ColourCube> AllocateRamp(Display* display, int screen);
  ~ColourCube();  // gives the cells, or the private colormap, back
  ColourCube(const ColourCube&) = delete;
  ColourCube& operator=(const ColourCube&) = delete;

  // The colormap top-level windows must use.
  Colormap colormap() const { return colormap_; }
  bool isPrivate() const { return private_; }
  int levels() const { return levels_; }
  bool isRamp() const { return levels_ == 0; }
  // The pixel of each cell, red slowest (PixelFormat::Cube), or of each
  // grey of the ramp.
  const std::vector<unsigned long>& cells() const { return cells_; }

 private:
  static constexpr int kFewestSharedLevels = 4;
  ColourCube(Display* display, Colormap colormap, bool isPrivate, int levels)
      : display_(display), colormap_(colormap), private_(isPrivate), levels_(levels) {}
  // Allocates the cube's cells in colormap_; false (nothing kept) when one
  // fails.
  bool Fill();
  // Allocates `colours` in colormap_ in order; as Fill.
  bool FillWith(std::vector<XColor> colours);

  Display* display_;
  Colormap colormap_;
  bool private_;
  int levels_;
  std::vector<unsigned long> cells_;
};

// How a visual's pixels get their colours.
enum class VisualColours {
  Fixed,     // TrueColor: the pixel's bit fields are the colour
  Ramps,     // DirectColor: the bit fields index per-channel maps
  Colormap,  // the pixel indexes one colormap
};
VisualColours ColoursOf(const Visual* visual);

}  // namespace quorvel::x11
