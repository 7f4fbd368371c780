#include "raster/text_layout.h"

#include "platform/canvas.h"

namespace quorvel::raster {
namespace {

namespace dt = platform::dt;

bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

// Splits text at line breaks (or not, for single lines).
std::vector<std::u32string> SplitParagraphs(const std::u32string& text, bool singleLine) {
  std::vector<std::u32string> out;
  if (singleLine) {
    out.push_back(text);
    return out;
  }
  std::u32string current;
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t c = text[i];
    if (c == U'\r' || c == U'\n') {
      out.push_back(current);
      current.clear();
      i += (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ? 2 : 1;
      continue;
    }
    current.push_back(c);
    ++i;
  }
  // A break at the very end does not start another line.
  if (!current.empty() || out.empty()) out.push_back(current);
  return out;
}

// Removes "&" prefixes; returns the characters with the underline mark set.
std::vector<LaidChar> StripPrefixes(const std::u32string& text, bool noPrefix) {
  std::vector<LaidChar> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    LaidChar ch;
    ch.code = text[i];
    if (!noPrefix && text[i] == U'&') {
      if (i + 1 >= text.size()) break;  // a lone "&" at the end shows nothing
      ++i;
      ch.code = text[i];
      ch.underline = text[i] != U'&';
    }
    out.push_back(ch);
  }
  return out;
}

class LineBuilder {
 public:
  LineBuilder(const TextMeasure& m, bool expandTabs)
      : measure_(m), tabWidth_(8 * (m.aveCharWidth > 0 ? m.aveCharWidth : 1)), expandTabs_(expandTabs) {}

  // Places chars[from, to) after x; returns the x after them.
  int Place(std::vector<LaidChar>& chars, std::size_t from, std::size_t to, int x) const {
    for (std::size_t i = from; i < to; ++i) {
      LaidChar& ch = chars[i];
      ch.x = x;
      if (ch.code == U'\t' && expandTabs_) {
        ch.advance = (x / tabWidth_ + 1) * tabWidth_ - x;
      } else {
        ch.advance = measure_.advance(ch.code);
      }
      x += ch.advance;
    }
    return x;
  }

 private:
  const TextMeasure& measure_;
  int tabWidth_;
  bool expandTabs_;
};

TextLine MakeLine(const std::vector<LaidChar>& chars, std::size_t from, std::size_t to) {
  TextLine line;
  line.chars.assign(chars.begin() + static_cast<std::ptrdiff_t>(from),
                    chars.begin() + static_cast<std::ptrdiff_t>(to));
  if (!line.chars.empty()) line.width = line.chars.back().x + line.chars.back().advance;
  return line;
}

// Greedy word breaking of one paragraph.
void BreakWords(std::vector<LaidChar>& chars, int width, const LineBuilder& builder,
                std::vector<TextLine>& lines) {
  std::size_t start = 0;
  while (true) {
    // The line holds chars[start, end); x is where the next piece goes.
    std::size_t end = start;
    int x = 0;
    std::size_t i = start;
    bool broke = false;
    while (i < chars.size()) {
      std::size_t wordStart = i;
      while (wordStart < chars.size() && IsSpace(chars[wordStart].code)) ++wordStart;
      std::size_t wordEnd = wordStart;
      while (wordEnd < chars.size() && !IsSpace(chars[wordEnd].code)) ++wordEnd;
      const int after = builder.Place(chars, i, wordEnd, x);
      const bool lineHasWord = end > start;
      if (after > width && lineHasWord && wordEnd > wordStart) {
        // The word does not fit: the line ends before the spaces in front
        // of it, and the next line starts with the word.
        broke = true;
        i = wordStart;
        break;
      }
      x = after;
      end = wordEnd;
      i = wordEnd;
    }
    if (!broke) {
      lines.push_back(MakeLine(chars, start, chars.size()));
      return;
    }
    lines.push_back(MakeLine(chars, start, end));
    start = i;
  }
}

}  // namespace

std::vector<TextLine> LayOutText(const std::u32string& text, unsigned format, int width,
                                 const TextMeasure& measure) {
  const bool singleLine = (format & dt::kSingleLine) != 0;
  const bool wordBreak = (format & dt::kWordBreak) != 0 && !singleLine;
  const LineBuilder builder(measure, (format & dt::kExpandTabs) != 0);
  std::vector<TextLine> lines;
  for (const std::u32string& paragraph : SplitParagraphs(text, singleLine)) {
    std::vector<LaidChar> chars = StripPrefixes(paragraph, (format & dt::kNoPrefix) != 0);
    if (wordBreak && !chars.empty()) {
      BreakWords(chars, width, builder, lines);
    } else {
      builder.Place(chars, 0, chars.size(), 0);
      lines.push_back(MakeLine(chars, 0, chars.size()));
    }
  }
  return lines;
}

}  // namespace quorvel::raster
