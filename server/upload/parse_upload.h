// Reading and checking the query of an upload request.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "upload/upload.h"

namespace quorvel::results_site {

// The most characters a text of the program can hold when typed or pasted:
// what a Windows edit control takes unless it is told otherwise.
constexpr std::size_t kMaxTypedCharacters = 32767;

// Bounds of what an upload may hold. The query fits the longest request
// the program makes: name and e-mail address of kMaxTypedCharacters each,
// every one of them escaped as %XX, and the machine's facts.
constexpr std::size_t kMaxQueryBytes = 224 * 1024;
static_assert(2 * kMaxTypedCharacters * 3 + 16 * 1024 <= kMaxQueryBytes,
              "every request of the program is read");
// Texts are stored cut after this many characters: what the program keeps
// of a text in its INI file, and so sends from its next start on.
constexpr std::size_t kMaxTextCharacters = 254;
constexpr std::size_t kMaxNumberDigits = 12;

struct ParsedUpload {
  bool ok = false;
  Upload upload;       // when ok
  std::string reason;  // when not: short, plain text, for the 400 answer
};

// Reads `query` (the raw text after '?', still percent-encoded). It must hold
// exactly the keys of kUploadKeys, each once, in that order, at most
// kMaxQueryBytes in all. Each value is percent-decoded ('+' is a blank),
// taken as UTF-8 or, failing that, as Windows-1252; its control characters
// (below U+0020, and DEL) become blanks, and it is cut after
// kMaxTextCharacters characters. Underscores are kept as sent (see
// text/shown_text.h). VER, Overall, AlphaTest, TwoDTest and mem must be
// decimal integers, cpu one or empty; Alpha, PerPixel, grad and multiCPU 0
// or 1; OS XP or 2000. A user's text is never refused.
ParsedUpload ParseUpload(std::string_view query);

}  // namespace quorvel::results_site
