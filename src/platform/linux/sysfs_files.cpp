#include "platform/linux/sysfs_files.h"

#include <fstream>
#include <limits>
#include <system_error>

namespace quorvel::linux_os {
namespace fs = std::filesystem;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string TrimBlanks(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::size_t end = text.size();
  while (end > start && IsBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

bool HoldsControlCharacter(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

bool HexDigitValue(char c, unsigned& value) {
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a' + 10);
  } else if (c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A' + 10);
  } else {
    return false;
  }
  return true;
}

bool ReadRegularFile(const fs::path& path, std::uintmax_t limit, std::string& out) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > limit) return false;
  }
  if (in.bad()) return false;
  out = std::move(text);
  return true;
}

bool ReadAttribute(const fs::path& path, std::string& out) {
  std::string text;
  if (!ReadRegularFile(path, kMaxAttributeSize, text)) return false;
  const std::size_t lineEnd = text.find('\n');
  if (lineEnd != std::string::npos) text.erase(lineEnd);
  out = TrimBlanks(text);
  return true;
}

bool ReadPciId(const fs::path& path, unsigned& id) {
  std::string text;
  if (!ReadAttribute(path, text)) return false;
  if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return false;
  }
  unsigned value = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    unsigned digit = 0;
    if (!HexDigitValue(text[i], digit)) return false;
    value = value * 16 + digit;
  }
  id = value;
  return true;
}

bool ReadDecimal(const fs::path& path, std::uint64_t& value) {
  std::string text;
  if (!ReadRegularFile(path, kMaxAttributeSize, text)) return false;
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  if (text.empty()) return false;
  std::uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (number > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    number = number * 10 + digit;
  }
  value = number;
  return true;
}

std::string LinkTargetName(const fs::path& link) {
  std::error_code ec;
  if (!fs::is_symlink(link, ec)) return std::string();
  const fs::path target = fs::read_symlink(link, ec);
  if (ec) return std::string();
  std::string name = target.filename().string();
  if (name == "." || name == "..") return std::string();
  return name;
}

}  // namespace quorvel::linux_os
