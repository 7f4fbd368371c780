#include "values/ip_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

namespace quorvel::results_site {

std::optional<std::string> CanonicalAddress(const std::string& text) {
  char written[INET6_ADDRSTRLEN];
  in_addr v4{};
  if (inet_pton(AF_INET, text.c_str(), &v4) == 1) {
    return std::string(inet_ntop(AF_INET, &v4, written, sizeof written));
  }
  in6_addr v6{};
  if (inet_pton(AF_INET6, text.c_str(), &v6) != 1) return std::nullopt;
  if (IN6_IS_ADDR_V4MAPPED(&v6)) {
    std::memcpy(&v4, &v6.s6_addr[12], sizeof v4);
    return std::string(inet_ntop(AF_INET, &v4, written, sizeof written));
  }
  return std::string(inet_ntop(AF_INET6, &v6, written, sizeof written));
}

std::optional<std::string> ForwardedAddress(const std::string& entry) {
  const std::size_t first = entry.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::string text = entry.substr(first, entry.find_last_not_of(" \t") + 1 - first);
  if (std::optional<std::string> bare = CanonicalAddress(text)) return bare;
  if (text[0] == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos) return std::nullopt;
    const std::string rest = text.substr(close + 1);
    if (!rest.empty() && rest[0] != ':') return std::nullopt;
    std::optional<std::string> v6 = CanonicalAddress(text.substr(1, close - 1));
    return v6 && v6->find(':') != std::string::npos ? v6 : std::nullopt;
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) return std::nullopt;
  std::optional<std::string> v4 = CanonicalAddress(text.substr(0, colon));
  return v4 && v4->find(':') == std::string::npos ? v4 : std::nullopt;
}

}  // namespace quorvel::results_site
