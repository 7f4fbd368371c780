// Turning the bytes of an uploaded value into UTF-8 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel::results_site {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` as UTF-8: kept when it already is UTF-8, else read as
// Windows-1252, the program's text, by the program's own table
// (text::Windows1252ToUtf8). Every byte has a character there: the five
// that Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D, which
// a name typed in another Windows code page holds) become U+0081 and so on,
// as Windows itself converts them.
std::string ToUtf8(std::string_view bytes);

// The number of code points of well-formed UTF-8 text.
std::size_t CodePointCount(std::string_view utf8);

// Well-formed UTF-8 text cut after its first `count` code points.
std::string_view FirstCodePoints(std::string_view utf8, std::size_t count);

}  // namespace quorvel::results_site
