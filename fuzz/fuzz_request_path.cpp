// The upload's request path from any texts: it is one request-line token
// (printable ASCII, no blank), its query holds exactly the upload's keys in
// order, each with one '=', every '%' starts a %XX escape, and nothing in
// it is what WinINet tidies away as if it were a file path (a backslash, a
// segment that begins with a dot).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "results/request_path.h"
#include "site/upload_protocol.h"
#include "site/site_addresses.h"

namespace {

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  quorvel::SystemInfo info;
  quorvel::BenchmarkScores scores;
  for (std::string* text : {&info.adapterName, &info.modeText, &scores.overallScore, &scores.alphaTestScore,
                            &scores.twoDTestScore, &info.cpuSpeedMhz, &info.driverVersion,
                            &info.videoMemoryText, &info.cpuVendor, &info.cpuIdentifier}) {
    *text = in.ConsumeRandomLengthString(64);
  }
  for (int* flag : {&info.constantAlphaAccelerated, &info.perPixelAlphaAccelerated,
                    &info.gradientFillAccelerated, &info.multipleProcessors, &info.isWindowsXP}) {
    *flag = in.ConsumeIntegral<int>();
  }
  const std::string userName = in.ConsumeRandomLengthString(300);
  const std::string email = in.ConsumeRemainingBytesAsString();

  const std::string path = quorvel::BuildRequestPath(info, scores, userName, email);
  const std::size_t prefix = std::strlen(quorvel::kSubmitPathPrefix);
  FUZZ_CHECK(path.compare(0, prefix, quorvel::kSubmitPathPrefix) == 0, "the path starts with the prefix");
  for (char c : path) {
    const unsigned char u = static_cast<unsigned char>(c);
    FUZZ_CHECK(u > 0x20 && u < 0x7F, "printable ASCII without blanks");
    FUZZ_CHECK(c != '#', "no fragment");
    FUZZ_CHECK(c != '\\', "no backslash");
  }
  FUZZ_CHECK(path.find("/.") == std::string::npos, "no segment that begins with a dot");
  const std::string query = path.substr(path.find('?') + 1);
  FUZZ_CHECK(query.find('?') == std::string::npos, "one '?'");
  FUZZ_CHECK(query.find('+') == std::string::npos, "no '+' that a site reads as a blank");

  std::size_t start = 0;
  for (std::size_t key = 0; key < quorvel::kUploadKeyCount; ++key) {
    std::size_t end = query.find('&', start);
    FUZZ_CHECK((end == std::string::npos) == (key + 1 == quorvel::kUploadKeyCount), "one '&' per key");
    if (end == std::string::npos) end = query.size();
    const std::string pair = query.substr(start, end - start);
    const std::string name = quorvel::kUploadKeys[key];
    FUZZ_CHECK(pair.compare(0, name.size() + 1, name + "=") == 0, "the keys in order");
    FUZZ_CHECK(pair.find('=', name.size() + 1) == std::string::npos, "one '=' per key");
    for (std::size_t i = 0; i < pair.size(); ++i) {
      if (pair[i] != '%') continue;
      FUZZ_CHECK(i + 2 < pair.size() && IsUpperHex(pair[i + 1]) && IsUpperHex(pair[i + 2]),
                 "'%' starts an escape");
    }
    start = end + 1;
  }
  return 0;
}
