// The upload's HTTP request, made with libcurl.
#pragma once

#include <memory>

#include "platform/http_client.h"

namespace quorvel::linux_os {

// Plain HTTP only, redirects to plain HTTP followed (at most 5). A proxy set
// in the environment (http_proxy, no_proxy) is used as libcurl always does:
// that is how the user configures network access on this platform.
//
// Each exchange is one transfer in a multi handle of its own, driven only
// while Send or ReadBody waits: it stops when the final head is in, so the
// status is asked for later and a 200's body read after that, all on the
// caller's thread. Its easy handle (the request) is released first, then
// the multi handle, which holds the connection.
class CurlHttpClient : public platform::HttpClient {
 public:
  std::unique_ptr<platform::HttpExchange> Send(const platform::HttpRequest& request) override;
};

}  // namespace quorvel::linux_os
