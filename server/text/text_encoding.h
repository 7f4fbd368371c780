// Turning the bytes of an uploaded value into UTF-8 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::site {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// `bytes` as UTF-8: kept when it already is UTF-8, else read as
// Windows-1252 (what the Windows program sends) and converted. Nothing when
// it is neither (a byte Windows-1252 leaves undefined).
std::optional<std::string> ToUtf8(std::string_view bytes);

// The number of code points of well-formed UTF-8 text.
std::size_t CodePointCount(std::string_view utf8);

}  // namespace quorvel::site
