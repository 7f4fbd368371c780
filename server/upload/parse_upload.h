// Reading and checking the query of an upload request.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "upload/upload.h"

namespace quorvel::site {

// Bounds of what an upload may hold.
constexpr std::size_t kMaxQueryBytes = 8192;
constexpr std::size_t kMaxTextCharacters = 254;  // what the program's edits and INI keep
constexpr std::size_t kMaxNumberDigits = 12;

struct ParsedUpload {
  bool ok = false;
  Upload upload;       // when ok
  std::string reason;  // when not: short, plain text, for the 400 answer
};

// Reads `query` (the raw text after '?', still percent-encoded). It must hold
// exactly the keys of kUploadKeys, each once, in that order, at most
// kMaxQueryBytes in all. Each value is percent-decoded ('+' is a blank),
// then taken as UTF-8 or, failing that, Windows-1252, and its underscores
// are shown as blanks (the program sends blanks, '%' and '$' as '_').
// VER, Overall, AlphaTest, TwoDTest and mem must be decimal integers, cpu
// one or empty; Alpha, PerPixel, grad and multiCPU 0 or 1; OS XP or 2000.
// Texts are at most kMaxTextCharacters long and hold no control characters.
ParsedUpload ParseUpload(std::string_view query);

}  // namespace quorvel::site
