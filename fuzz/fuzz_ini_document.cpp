// The INI document on any bytes: reading never fails, and a value written
// is read back as written (less CR, LF and NUL), with the rest of the text
// keeping its values.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "profile/ini_document.h"

namespace {

std::string WithoutLineBreaks(std::string value) {
  std::string out;
  for (char c : value) {
    if (c != '\r' && c != '\n' && c != '\0') out += c;
  }
  return out;
}

std::string Trimmed(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(16);
  const std::string key = in.ConsumeRandomLengthString(16);
  const std::string value = in.ConsumeRandomLengthString(300);
  quorvel::IniDocument doc(in.ConsumeRemainingBytesAsString());

  const std::string before = doc.Read(section, key, "\x01");
  FUZZ_CHECK(before.size() <= quorvel::kMaxIniValueLength || before == "\x01", "value longer than 254");
  const std::string other = doc.Read("UserInfo", "UserName", "\x01");

  doc.Write(section, key, value);
  const std::string expected = WithoutLineBreaks(value);
  // Names with blanks around them, an empty name, ']' or '=' in a name and
  // values that are blanks or quotes at their ends do not survive a round
  // trip in the Windows functions either; only plain names and values are
  // required to come back.
  const bool plainNames = !section.empty() && !key.empty() && Trimmed(section) == section &&
                          Trimmed(key) == key &&
                          section.find_first_of("]\r\n\0", 0, 4) == std::string::npos &&
                          key.find_first_of("=[;\r\n\0", 0, 6) == std::string::npos &&
                          key[0] != '[';
  const bool plainValue = Trimmed(expected) == expected && expected.size() <= quorvel::kMaxIniValueLength &&
                          (expected.empty() || (expected.front() != '"' && expected.front() != '\''));
  if (plainNames && plainValue) {
    FUZZ_CHECK(doc.Read(section, key, "\x01") == expected, "a written value reads back");
  }
  return 0;
}
