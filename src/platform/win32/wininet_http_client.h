// The upload's HTTP request, made with WinINet.
#pragma once

#include <string>

#include "platform/http_client.h"

namespace quorvel::win32 {

// Uses the system's Internet settings (proxy included), follows redirects
// as WinINet does by default, and keeps the answer out of the cache.
//
// WinINet's time limits hold for each step (connect, send, each receive)
// but not for the whole exchange, so the exchange runs on a thread of its
// own: when the total limit passes, the caller closes the Internet handles,
// which ends any call that is blocked on them, and returns ok false at once.
// The thread shares only reference-counted state with the caller, so it can
// finish on its own after that.
class WinInetHttpClient : public platform::HttpClient {
 public:
  platform::HttpResult Get(const std::string& host, int port, const std::string& path,
                           const std::string& userAgent, int connectTimeoutMs,
                           int totalTimeoutMs) override;
};

}  // namespace quorvel::win32
