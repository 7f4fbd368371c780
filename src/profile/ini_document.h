// The text of an INI file, read and changed the way the Windows profile
// functions (GetPrivateProfileString, WritePrivateProfileString) do, so
// that the settings file behaves alike on every platform.
//
// Reading: "[section]" lines open sections and "key=value" lines inside
// them hold values. Section and key names match without regard to ASCII
// letter case and with the blanks and tabs around them ignored; a value
// has the blanks and tabs around it removed, then one pair of matching
// surrounding quotes (' or "), and is cut to 254 characters. The first
// match in file order counts. Lines may end in LF, CR LF or CR, and a
// UTF-8 byte order mark at the start is skipped. Lines starting with ';'
// are comments; lines that are neither headers nor hold '=' are ignored; a
// line starting with '[' but lacking ']' opens a section no name matches.
// Any bytes at all are accepted: junk only means values are not found.
//
// Writing changes the least it can: the value of an existing key is
// replaced in its line (the key and '=' stay as written); a missing key is
// added after the last non-blank line of its section; a missing section is
// added at the end of the text. Every other byte stays as it was. New lines
// end like the document's first line, or in CR LF when it has none.
#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

// The longest value read, as a 255-byte buffer holds it with its terminator.
constexpr std::size_t kMaxIniValueLength = 254;

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string text) : text_(std::move(text)) {}

  const std::string& Text() const { return text_; }

  // The value of `key` in `section`, or `defaultValue` when not found.
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultValue) const;

  // Sets `key` in `section` to `value`, with any CR, LF and NUL characters
  // of the value removed so that it stays on one line.
  void Write(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string text_;
};

}  // namespace quorvel
