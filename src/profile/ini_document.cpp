#include "profile/ini_document.h"

#include <vector>

namespace quorvel {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// One line of the text: [begin, contentEnd) is its content and
// [contentEnd, end) its line end (empty for a last line without one).
struct Line {
  std::size_t begin;
  std::size_t contentEnd;
  std::size_t end;
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  if (text.compare(0, 3, kUtf8Bom) == 0) begin = 3;
  while (begin < text.size()) {
    std::size_t contentEnd = text.find_first_of("\r\n", begin);
    std::size_t end;
    if (contentEnd == std::string::npos) {
      contentEnd = end = text.size();
    } else if (text[contentEnd] == '\r' && contentEnd + 1 < text.size() &&
               text[contentEnd + 1] == '\n') {
      end = contentEnd + 2;
    } else {
      end = contentEnd + 1;
    }
    lines.push_back(Line{begin, contentEnd, end});
    begin = end;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// What one line is.
struct ParsedLine {
  enum Kind { Other, Section, Key } kind = Other;
  std::string name;             // section or key name, trimmed
  bool closed = true;           // Section: the header has its ']'
  std::size_t valueBegin = 0;   // Key: just after '='
};

ParsedLine Parse(const std::string& text, const Line& line) {
  ParsedLine parsed;
  std::size_t first = line.begin;
  while (first < line.contentEnd && IsBlank(text[first])) ++first;
  if (first == line.contentEnd || text[first] == ';') return parsed;
  if (text[first] == '[') {
    parsed.kind = ParsedLine::Section;
    const std::size_t close = text.find(']', first + 1);
    if (close == std::string::npos || close >= line.contentEnd) {
      parsed.closed = false;
    } else {
      parsed.name = Trimmed(text, first + 1, close);
    }
    return parsed;
  }
  const std::size_t equals = text.find('=', first);
  if (equals == std::string::npos || equals >= line.contentEnd) return parsed;
  parsed.name = Trimmed(text, first, equals);
  if (parsed.name.empty()) return parsed;
  parsed.kind = ParsedLine::Key;
  parsed.valueBegin = equals + 1;
  return parsed;
}

// Where a key is, or where it would go.
struct Place {
  bool sectionFound = false;
  std::size_t lastLineOfSection = 0;  // index of its last non-blank line
  bool keyFound = false;
  std::size_t keyLine = 0;
  std::size_t valueBegin = 0;
};

Place Locate(const std::string& text, const std::vector<Line>& lines, const std::string& section,
             const std::string& key) {
  Place place;
  bool inSection = false;
  bool inFirstSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = Parse(text, lines[i]);
    if (parsed.kind == ParsedLine::Section) {
      // A header without ']' opens a section that no name matches.
      inSection = parsed.closed && SameName(parsed.name, section);
      inFirstSection = inSection && !place.sectionFound;
      if (inFirstSection) {
        place.sectionFound = true;
        place.lastLineOfSection = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (inFirstSection && !Trimmed(text, lines[i].begin, lines[i].contentEnd).empty()) {
      place.lastLineOfSection = i;
    }
    if (parsed.kind == ParsedLine::Key && SameName(parsed.name, key)) {
      place.keyFound = true;
      place.keyLine = i;
      place.valueBegin = parsed.valueBegin;
      return place;
    }
  }
  return place;
}

std::string LineEndOf(const std::string& text, const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (line.end > line.contentEnd) return text.substr(line.contentEnd, line.end - line.contentEnd);
  }
  return "\r\n";
}

std::string OneLine(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c != '\r' && c != '\n' && c != '\0') out += c;
  }
  return out;
}

}  // namespace

std::string IniDocument::Read(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
  const std::vector<Line> lines = SplitLines(text_);
  const Place place = Locate(text_, lines, section, key);
  if (!place.keyFound) return defaultValue;

  std::string value = Trimmed(text_, place.valueBegin, lines[place.keyLine].contentEnd);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() > kMaxIniValueLength) value.resize(kMaxIniValueLength);
  return value;
}

void IniDocument::Write(const std::string& section, const std::string& key,
                        const std::string& value) {
  const std::vector<Line> lines = SplitLines(text_);
  const Place place = Locate(text_, lines, section, key);
  const std::string clean = OneLine(value);

  if (place.keyFound) {
    const Line& line = lines[place.keyLine];
    text_.replace(place.valueBegin, line.contentEnd - place.valueBegin, clean);
    return;
  }

  const std::string eol = LineEndOf(text_, lines);
  if (place.sectionFound) {
    const Line& after = lines[place.lastLineOfSection];
    std::string insert = key + "=" + clean + eol;
    // The section's last line is the text's last line and has no line end.
    if (after.end == after.contentEnd) insert = eol + insert;
    text_.insert(after.end, insert);
    return;
  }

  if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r' && !lines.empty()) {
    text_ += eol;
  }
  text_ += "[" + section + "]" + eol + key + "=" + clean + eol;
}

}  // namespace quorvel
