// Breaking DrawText's text into lines: line breaks, "&" prefixes, tab
// expansion and word breaking, as Win32's DrawText does. Independent of how
// glyphs look; only advances are needed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorvel::raster {

struct LaidChar {
  char32_t code = 0;
  int x = 0;        // from the start of the line
  int advance = 0;  // tabs take the distance to their stop
  bool underline = false;  // the character after a single "&"
};

struct TextLine {
  std::vector<LaidChar> chars;
  int width = 0;
};

struct TextMeasure {
  std::function<int(char32_t)> advance;
  int aveCharWidth = 1;
};

// Lays out Unicode text for the dt:: flags in `format` within a rectangle
// `width` pixels wide. "\n", "\r\n" and a lone "\r" end lines unless
// dt::kSingleLine; a break at the very end adds no empty line. With
// dt::kWordBreak (and not single line) lines break after spaces so that each
// fits `width`; the spaces at a break are dropped, and a word wider than
// `width` stays whole on a line of its own. With dt::kExpandTabs tabs move to
// the next multiple of 8 average character widths from the line start.
// Unless dt::kNoPrefix, "&&" gives one "&", "&x" gives x underlined and a
// lone "&" at the end vanishes.
std::vector<TextLine> LayOutText(const std::u32string& text, unsigned format, int width,
                                 const TextMeasure& measure);

}  // namespace quorvel::raster
