// The program's text is Windows-1252 (what the Win32 "A" functions take);
// the X desktop, fonts and the results site speak Unicode. The one table of
// the code page, and the conversions both ways.
#pragma once

#include <string>

namespace quorvel::text {

// UTF-8 to Windows-1252: characters that code page has are kept, all others
// (and malformed bytes) are dropped.
std::string Utf8ToWindows1252(const std::string& utf8);

// Windows-1252 to UTF-8; the five unassigned bytes (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become U+0081... as MultiByteToWideChar makes them.
std::string Windows1252ToUtf8(const std::string& text);

// The Windows-1252 byte of a Unicode code point; 0 when there is none.
unsigned char Windows1252FromCodePoint(unsigned long codePoint);

// The Unicode code point of a Windows-1252 byte: 0x80..0x9F per the code
// page (the five unassigned bytes keep their own value, U+0081...), every
// other byte the same code point.
char32_t Windows1252ToCodePoint(unsigned char byte);

// Every byte of `text` as its code point.
std::u32string DecodeWindows1252(const std::string& text);

}  // namespace quorvel::text
