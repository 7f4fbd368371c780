#include "http/client_address.h"

#include <algorithm>
#include <optional>

#include "values/ip_address.h"

namespace quorvel::results_site {

std::string ClientAddress(const httplib::Request& req, const std::vector<std::string>& trustedProxies) {
  const std::string connection = CanonicalAddress(req.remote_addr).value_or(req.remote_addr);
  if (trustedProxies.empty() ||
      std::find(trustedProxies.begin(), trustedProxies.end(), connection) == trustedProxies.end()) {
    return connection;
  }
  const char kHeader[] = "X-Forwarded-For";
  const std::size_t headers = req.get_header_value_count(kHeader);
  if (headers == 0) return connection;
  const std::string last = req.get_header_value(kHeader, headers - 1);
  const std::size_t comma = last.rfind(',');
  const std::optional<std::string> client =
      ForwardedAddress(comma == std::string::npos ? last : last.substr(comma + 1));
  return client.value_or(connection);
}

}  // namespace quorvel::results_site
