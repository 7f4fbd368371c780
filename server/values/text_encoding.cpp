#include "values/text_encoding.h"

#include "text/windows1252.h"

namespace quorvel::results_site {

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned lowest;  // the smallest code point this length may carry
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2, lowest = 0x80, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3, lowest = 0x800, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4, lowest = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string ToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return text::Windows1252ToUtf8(std::string(bytes));
}

std::size_t CodePointCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string_view FirstCodePoints(std::string_view utf8, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
    if (seen == count) return utf8.substr(0, i);
    ++seen;
  }
  return utf8;
}

}  // namespace quorvel::results_site
