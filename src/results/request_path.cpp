#include "results/request_path.h"

#include "site/upload_protocol.h"
#include "site/site_addresses.h"

namespace quorvel {
namespace {

bool NeedsEncoding(unsigned char c) {
  return c < 0x20 || c >= 0x7F || c == '&' || c == '=' || c == '#' || c == '+' || c == '?' ||
         c == '\\';
}

const char* Flag(int value) { return value != 0 ? "1" : "0"; }

}  // namespace

std::string QueryValue(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  bool segmentStart = false;  // right after a '/', or in the dots that follow one
  for (char ch : value) {
    const unsigned char c = static_cast<unsigned char>(ch);
    const bool dotsOfASegment = c == '.' && segmentStart;
    segmentStart = c == '/' || dotsOfASegment;
    if (c == ' ' || c == '%' || c == '$') {
      out += '_';
    } else if (NeedsEncoding(c) || dotsOfASegment) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string BuildRequestPath(const SystemInfo& info, const BenchmarkScores& scores,
                             const std::string& userName, const std::string& email) {
  std::string path = kSubmitPathPrefix;
  path += kUploadVersion;
  // The values after VER, in the order of kUploadKeys.
  const std::string values[] = {
      userName,
      email,
      info.adapterName,
      info.modeText,
      Flag(info.constantAlphaAccelerated),
      Flag(info.perPixelAlphaAccelerated),
      Flag(info.gradientFillAccelerated),
      scores.overallScore,
      scores.alphaTestScore,
      scores.twoDTestScore,
      info.cpuSpeedMhz,
      info.driverVersion,
      info.videoMemoryText,
      info.cpuVendor,
      Flag(info.multipleProcessors),
      info.cpuIdentifier,
      info.isWindowsXP != 0 ? "XP" : "2000",
  };
  static_assert(sizeof values / sizeof values[0] + 1 == kUploadKeyCount,
                "one value for every upload key after VER");
  for (std::size_t i = 0; i + 1 < kUploadKeyCount; ++i) {
    path += '&';
    path += kUploadKeys[i + 1];
    path += '=';
    path += QueryValue(values[i]);
  }
  return path;
}

}  // namespace quorvel
