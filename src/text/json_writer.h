// Writes a JSON document, indented two blanks a level. Texts are the
// program's Windows-1252 strings and come out as UTF-8; numbers that are
// not finite come out as null, so the document always parses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::text {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next member of the open object.
  JsonWriter& Key(const std::string& name);

  JsonWriter& String(const std::string& windows1252Text);
  JsonWriter& Int(std::int64_t value);
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // The document so far, ending in a line break once the outermost value
  // is closed.
  const std::string& text() const { return out_; }

 private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  // Separator and indentation before a value (not after a key).
  void BeforeValue();
  void NewLine();

  std::string out_;
  std::vector<bool> hasMembers_;  // one entry per open object or array
  bool afterKey_ = false;
};

// `windows1252Text` as a quoted JSON string in UTF-8.
std::string JsonQuoted(const std::string& windows1252Text);

}  // namespace quorvel::text
