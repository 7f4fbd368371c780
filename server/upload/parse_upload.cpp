#include "upload/parse_upload.h"

#include <array>
#include <optional>

#include "site/upload_protocol.h"
#include "values/text_encoding.h"
#include "values/whole_number.h"

namespace quorvel::results_site {
namespace {

enum Key : std::size_t {
  kVer, kUserName, kEmail, kCardName, kMode, kAlpha, kPerPixel, kGrad, kOverall, kAlphaTest,
  kTwoDTest, kCpu, kDriver, kMem, kCpuMan, kMultiCpu, kCpuId, kOs,
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = HexDigit(text[i + 1]);
      const int low = HexDigit(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::int64_t> Number(const std::string& text, bool emptyAllowed) {
  if (text.empty() && emptyAllowed) return 0;
  return WholeNumber(text, kMaxNumberDigits);
}

ParsedUpload Refuse(std::string reason) {
  ParsedUpload result;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

ParsedUpload ParseUpload(std::string_view query) {
  static_assert(kUploadKeyCount == kOs + 1, "the keys above follow kUploadKeys");
  if (query.size() > kMaxQueryBytes) {
    return Refuse("the query is longer than " + std::to_string(kMaxQueryBytes) + " bytes");
  }

  std::array<std::optional<std::string>, kUploadKeyCount> raw;
  std::size_t position = 0;  // how many pairs were read
  bool inOrder = true;
  std::size_t start = 0;
  while (start <= query.size()) {
    std::size_t end = query.find('&', start);
    if (end == std::string_view::npos) end = query.size();
    const std::string_view pair = query.substr(start, end - start);
    const std::size_t equals = pair.find('=');
    const std::string_view name = pair.substr(0, equals);
    std::size_t key = 0;
    while (key < kUploadKeyCount && name != kUploadKeys[key]) ++key;
    if (key == kUploadKeyCount) {
      const std::string shown(name.substr(0, 40));
      return Refuse(shown.empty() ? "an empty parameter name" : "unknown parameter " + shown);
    }
    if (equals == std::string_view::npos) return Refuse("parameter " + std::string(name) + " has no value");
    if (raw[key]) return Refuse("parameter " + std::string(name) + " is repeated");
    if (key != position) inOrder = false;
    raw[key] = std::string(pair.substr(equals + 1));
    ++position;
    start = end + 1;
  }
  for (std::size_t key = 0; key < kUploadKeyCount; ++key) {
    if (!raw[key]) return Refuse(std::string("parameter ") + kUploadKeys[key] + " is missing");
  }
  if (!inOrder) return Refuse("the parameters are out of order");

  std::array<std::string, kUploadKeyCount> value;
  for (std::size_t key = 0; key < kUploadKeyCount; ++key) {
    const std::string name = kUploadKeys[key];
    std::optional<std::string> bytes = PercentDecode(*raw[key]);
    if (!bytes) return Refuse("parameter " + name + " has a broken %-escape");
    std::string text = ToUtf8(*bytes);
    // A tab or a line break pasted into an edit is sent too; no database
    // should hold it (nor a NUL), so it is kept as a blank.
    for (char& c : text) {
      const unsigned char u = static_cast<unsigned char>(c);
      if (u < 0x20 || u == 0x7F) c = ' ';
    }
    text.resize(FirstCodePoints(text, kMaxTextCharacters).size());
    value[key] = std::move(text);
  }

  ParsedUpload result;
  Upload& u = result.upload;
  const auto number = [&](Key key, std::int64_t& out, bool emptyAllowed) {
    const std::optional<std::int64_t> n = Number(value[key], emptyAllowed);
    if (!n) {
      result.reason = std::string("parameter ") + kUploadKeys[key] + " is not a whole number";
      return false;
    }
    out = *n;
    return true;
  };
  const auto flag = [&](Key key, bool& out) {
    if (value[key] != "0" && value[key] != "1") {
      result.reason = std::string("parameter ") + kUploadKeys[key] + " is not 0 or 1";
      return false;
    }
    out = value[key] == "1";
    return true;
  };
  std::int64_t cpu = 0;
  if (!number(kVer, u.version, false) || !flag(kAlpha, u.alpha) ||
      !flag(kPerPixel, u.perPixel) || !flag(kGrad, u.grad) ||
      !number(kOverall, u.overall, false) || !number(kAlphaTest, u.alphaTest, false) ||
      !number(kTwoDTest, u.twoDTest, false) || !number(kCpu, cpu, true) ||
      !number(kMem, u.mem, false) || !flag(kMultiCpu, u.multiCPU)) {
    return result;
  }
  if (value[kOs] != "XP" && value[kOs] != "2000") return Refuse("parameter OS is not XP or 2000");

  u.userName = std::move(value[kUserName]);
  u.email = std::move(value[kEmail]);
  u.cardName = std::move(value[kCardName]);
  u.mode = std::move(value[kMode]);
  u.cpu = std::move(value[kCpu]);
  u.driver = std::move(value[kDriver]);
  u.cpuMan = std::move(value[kCpuMan]);
  u.cpuID = std::move(value[kCpuId]);
  u.os = std::move(value[kOs]);
  result.ok = true;
  return result;
}

}  // namespace quorvel::results_site
