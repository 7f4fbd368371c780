// The upload's HTTP request, made with WinINet.
#pragma once

#include <memory>

#include "platform/http_client.h"
#include "platform/win32/wininet_api.h"

namespace quorvel::win32 {

// Uses the system's Internet settings (proxy included) and follows
// redirects as WinINet does by default. The request is opened with the flag
// that reuses an existing connection and no other.
//
// WinINet's time limits hold for each step (connect, send, each receive)
// but not for the whole exchange, so each blocking call (the sending, the
// reading of the body) runs on a thread of its own while the caller waits
// for it until the total limit: when that passes, the caller closes the
// Internet handles, which ends any call that is blocked on them, and the
// exchange has no answer. The thread shares only reference-counted state
// with the caller, so it can finish on its own after that. The status is
// asked for on the caller's thread, and the handles (request, connection,
// session) are closed there when the exchange is destroyed.
class WinInetHttpClient : public platform::HttpClient {
 public:
  // `api`: the WinINet functions to call, the system's unless a test gives
  // recording doubles.
  explicit WinInetHttpClient(const WinInetApi& api = SystemWinInet()) : api_(api) {}

  std::unique_ptr<platform::HttpExchange> Send(const platform::HttpRequest& request) override;

 private:
  WinInetApi api_;
};

}  // namespace quorvel::win32
