#include "text/windows1252.h"

namespace quorvel::text {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the unassigned ones.
constexpr unsigned short kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

unsigned char Windows1252FromCodePoint(unsigned long cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return 0;
}

std::string Utf8ToWindows1252(const std::string& utf8) {
  std::string out;
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int length = 0;
    unsigned long cp = 0;
    if (lead < 0x80) {
      length = 1;
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      cp = lead & 0x07;
    } else {
      ++i;  // a stray continuation byte or an invalid lead
      continue;
    }
    if (i + static_cast<std::size_t>(length) > n) break;
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const unsigned char c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!valid) {
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(length);
    // Overlong forms would smuggle in bytes such as NUL; drop them.
    static const unsigned long kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length]) continue;
    // NUL has no place in the program's text either.
    const unsigned char byte = Windows1252FromCodePoint(cp);
    if (byte != 0) out += static_cast<char>(byte);
  }
  return out;
}

char32_t Windows1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0) {
    return kHighControls[byte - 0x80];
  }
  return byte;
}

std::u32string DecodeWindows1252(const std::string& text) {
  std::u32string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(Windows1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Windows1252ToUtf8(const std::string& text) {
  std::string out;
  for (char c : text) AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace quorvel::text
