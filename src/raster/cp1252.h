// Windows-1252, the code page of the skin's text.
#pragma once

#include <string>

namespace quorvel::raster {

// The Unicode code point of a Windows-1252 byte: 0x80..0x9F per the code
// page (the five unassigned bytes map to the same code point), every other
// byte to the same code point.
char32_t Cp1252ToUnicode(unsigned char byte);

std::u32string DecodeCp1252(const std::string& text);

}  // namespace quorvel::raster
