// The upload's HTTP request, made with libcurl.
#pragma once

#include <string>

#include "platform/http_client.h"

namespace quorvel::linux_os {

// Plain HTTP only, redirects to plain HTTP followed (at most 5). A proxy set in the environment
// (http_proxy, no_proxy) is used as libcurl always does: that is how the
// user configures network access on this platform.
class CurlHttpClient : public platform::HttpClient {
 public:
  platform::HttpResult Get(const std::string& host, int port, const std::string& path,
                           const std::string& userAgent, int connectTimeoutMs,
                           int totalTimeoutMs) override;
};

}  // namespace quorvel::linux_os
