// Helpers for pixel tests: filling, reading colours and drawing a surface as
// a picture of characters so that expected shapes read like the result.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "raster/raster_canvas.h"
#include "raster/surface.h"

namespace quorvel::raster::testing {

inline Colour At(const Surface& s, int x, int y) { return ColourOf(s.Row(y)[x]); }

inline void Fill(Surface& s, Colour c) {
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) s.Row(y)[x] = PixelOf(c);
  }
}

// One string per row; each pixel becomes the character its colour maps to,
// or '?' for a colour not in the legend.
inline std::vector<std::string> Picture(const Surface& s, const std::map<Colour, char>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.height(); ++y) {
    std::string row;
    for (int x = 0; x < s.width(); ++x) {
      auto it = legend.find(At(s, x, y));
      row += it == legend.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

// '.' white, '#' black, 'r' red, 'g' green, 'b' blue.
inline const std::map<Colour, char>& BasicLegend() {
  static const std::map<Colour, char> legend = {
      {kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}, {kGreen, 'g'}, {kBlue, 'b'}};
  return legend;
}

// A memory canvas of the given size filled with one colour.
inline std::unique_ptr<RasterCanvas> FilledCanvas(int w, int h, Colour c) {
  auto canvas = RasterCanvas::CreateMemory(w, h);
  Fill(canvas->surface(), c);
  return canvas;
}

}  // namespace quorvel::raster::testing
