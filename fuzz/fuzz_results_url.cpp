// QUORVEL_RESULTS_URL with any bytes: an address taken is one the request
// line and the comparison page can carry, and a refused one changes nothing.
#include <string>

#include "fuzz_check.h"
#include "site/site_addresses.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  quorvel::ResultsServer server;
  server.host = "unchanged";
  server.port = 1;
  if (!quorvel::ParseResultsUrl(url, server)) {
    FUZZ_CHECK(server.host == "unchanged" && server.port == 1, "a refused address changes nothing");
    return 0;
  }
  FUZZ_CHECK(!server.host.empty(), "a host is given");
  FUZZ_CHECK(server.port >= 1 && server.port <= 65535, "the port is in range");
  for (char c : server.host) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '-' || c == '.';
    FUZZ_CHECK(allowed, "the host holds letters, digits, '-' and '.' only");
  }
  const std::string page = quorvel::ComparisonPageAddress(server);
  if (server.host != quorvel::ResultsServer().host) {
    FUZZ_CHECK(page.rfind("http://" + server.host, 0) == 0, "the page is on the server taken");
  }
  const quorvel::ResultsServer again = quorvel::ResultsServerFrom(url.c_str());
  if (url.find('\0') == std::string::npos) {
    FUZZ_CHECK(again.host == server.host && again.port == server.port, "the environment reads alike");
  }
  return 0;
}
