#include "site/site_addresses.h"

#include <cstdlib>

namespace quorvel {
namespace {

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

bool StartsWithHttpScheme(const std::string& url) {
  static const char kScheme[] = "http://";
  if (url.size() < sizeof kScheme - 1) return false;
  for (std::size_t i = 0; i + 1 < sizeof kScheme; ++i) {
    char c = url[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kScheme[i]) return false;
  }
  return true;
}

}  // namespace

bool ParseResultsUrl(const std::string& url, ResultsServer& server) {
  if (!StartsWithHttpScheme(url)) return false;
  std::string rest = url.substr(7);
  if (!rest.empty() && rest.back() == '/') rest.pop_back();

  const std::size_t colon = rest.find(':');
  const std::string host = rest.substr(0, colon);
  if (host.empty()) return false;
  for (char c : host) {
    if (!IsHostCharacter(c)) return false;
  }

  int port = 80;
  if (colon != std::string::npos) {
    const std::string digits = rest.substr(colon + 1);
    // Five digits at most, so the number cannot overflow before the range check.
    if (digits.empty() || digits.size() > 5) return false;
    port = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return false;
  }

  server.host = host;
  server.port = port;
  return true;
}

ResultsServer ResultsServerFrom(const char* overrideUrl) {
  ResultsServer server;
  if (overrideUrl != nullptr) ParseResultsUrl(overrideUrl, server);
  return server;
}

std::string ComparisonPageAddress(const ResultsServer& server) {
  const ResultsServer builtIn;
  if (server.host == builtIn.host && server.port == builtIn.port) return kComparisonPageAddress;
  std::string address = "http://" + server.host;
  if (server.port != 80) address += ":" + std::to_string(server.port);
  return address + kComparisonPagePath;
}

ResultsServer ResultsServerInUse() { return ResultsServerFrom(std::getenv(kResultsUrlVariable)); }

}  // namespace quorvel
