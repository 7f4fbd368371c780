#include "results/request_path.h"

#include "app/site_addresses.h"

namespace quorvel {
namespace {

bool NeedsEncoding(unsigned char c) {
  return c < 0x20 || c >= 0x7F || c == '&' || c == '=' || c == '#' || c == '+' || c == '?';
}

const char* Flag(int value) { return value != 0 ? "1" : "0"; }

}  // namespace

std::string QueryValue(const std::string& value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(value.size());
  for (char ch : value) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == ' ' || c == '%' || c == '$') {
      out += '_';
    } else if (NeedsEncoding(c)) {
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
  const auto add = [&path](const char* name, const std::string& value) {
    path += '&';
    path += name;
    path += '=';
    path += QueryValue(value);
  };
  add("UserName", userName);
  add("email", email);
  add("cardName", info.adapterName);
  add("mode", info.modeText);
  add("Alpha", Flag(info.constantAlphaAccelerated));
  add("PerPixel", Flag(info.perPixelAlphaAccelerated));
  add("grad", Flag(info.gradientFillAccelerated));
  add("Overall", scores.overallScore);
  add("AlphaTest", scores.alphaTestScore);
  add("TwoDTest", scores.twoDTestScore);
  add("cpu", info.cpuSpeedMhz);
  add("driver", info.driverVersion);
  add("mem", info.videoMemoryText);
  add("cpuMan", info.cpuVendor);
  add("multiCPU", Flag(info.multipleProcessors));
  add("cpuID", info.cpuIdentifier);
  add("OS", info.isWindowsXP != 0 ? "XP" : "2000");
  return path;
}

}  // namespace quorvel
