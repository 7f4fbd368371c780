#include "text/json_writer.h"

#include <cmath>
#include <cstdio>

#include "text/windows1252.h"

namespace quorvel::text {

std::string JsonQuoted(const std::string& windows1252Text) {
  const std::string utf8 = Windows1252ToUtf8(windows1252Text);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(2 * hasMembers_.size(), ' ');
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (hasMembers_.empty()) return;
  if (hasMembers_.back()) out_ += ',';
  hasMembers_.back() = true;
  NewLine();
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeforeValue();
  out_ += bracket;
  hasMembers_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  const bool hadMembers = !hasMembers_.empty() && hasMembers_.back();
  if (!hasMembers_.empty()) hasMembers_.pop_back();
  if (hadMembers) NewLine();
  out_ += bracket;
  if (hasMembers_.empty()) out_ += '\n';
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& name) {
  BeforeValue();
  out_ += JsonQuoted(name);
  out_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(const std::string& windows1252Text) {
  BeforeValue();
  out_ += JsonQuoted(windows1252Text);
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  if (!std::isfinite(value)) return Null();
  BeforeValue();
  char text[32];
  // Ten significant digits: more than any figure here carries, and what
  // a reader reads back as the same value.
  std::snprintf(text, sizeof text, "%.10g", value);
  out_ += text;
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

}  // namespace quorvel::text
