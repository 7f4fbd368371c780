#include "platform/win32/wininet_http_client.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

namespace quorvel::win32 {
namespace {

using Clock = std::chrono::steady_clock;

// What an exchange and the threads that make its blocking calls share. The
// handles are closed exactly once, under the mutex, by whichever side gets
// there first: the exchange when it is destroyed or a wait for a thread
// runs out, or a thread that opened a handle after the exchange gave up.
struct Shared {
  WinInetApi api;
  std::string host;
  INTERNET_PORT port = 0;
  std::string path;
  std::string userAgent;
  DWORD connectTimeoutMs = 0;
  DWORD stepTimeoutMs = 0;

  std::mutex mutex;
  std::condition_variable finished;
  bool stepDone = false;   // the thread of the last step has put its results below
  bool abandoned = false;  // a wait ran out and the handles were closed
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  bool sent = false;    // HttpSendRequest succeeded: the head is in
  bool bodyRead = false;
  std::string body;

  // With the mutex held: the request, the connection, the session.
  void CloseHandles() {
    for (HINTERNET* handle : {&request, &connection, &session}) {
      if (*handle != nullptr) api.closeHandle(std::exchange(*handle, nullptr));
    }
  }
};

// Keeps a new handle in the shared state so that the exchange can close it;
// null (and the handle closed) when the exchange has already given up.
HINTERNET Keep(Shared& x, HINTERNET handle, HINTERNET Shared::*slot) {
  if (handle == nullptr) return nullptr;
  std::lock_guard<std::mutex> lock(x.mutex);
  if (x.abandoned) {
    x.api.closeHandle(handle);
    return nullptr;
  }
  x.*slot = handle;
  return handle;
}

bool Abandoned(Shared& x) {
  std::lock_guard<std::mutex> lock(x.mutex);
  return x.abandoned;
}

// Opens the session, the connection and the request, and sends it; WinINet
// returns from the sending once the final response's head is in.
void SendStep(Shared& x) {
  const WinInetApi& api = x.api;
  const HINTERNET session =
      Keep(x, api.open(x.userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
           &Shared::session);
  if (session == nullptr) return;
  // Each step may take as long as the whole exchange; the exchange keeps
  // the total. The handles made from the session take these limits over.
  DWORD connectMs = x.connectTimeoutMs;
  DWORD stepMs = x.stepTimeoutMs;
  api.setOption(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
  api.setOption(session, INTERNET_OPTION_SEND_TIMEOUT, &stepMs, sizeof stepMs);
  api.setOption(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &stepMs, sizeof stepMs);

  const HINTERNET connection = Keep(
      x,
      api.connect(session, x.host.c_str(), x.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 1),
      &Shared::connection);
  if (connection == nullptr) return;
  // No referrer, no accept types, the default version, and the flag that
  // reuses an existing connection; redirects are followed, as WinINet does
  // unless told otherwise. No flag that adds a header of its own ("Pragma:
  // no-cache") and none that keeps the answer out of WinINet's cache: WinINet
  // writes answers there but sends every GET again all the same (under Wine,
  // even an answer with "Cache-Control: max-age=3600"), so a later upload
  // of the same results still reaches the site.
  const HINTERNET request =
      Keep(x,
           api.openRequest(connection, "GET", x.path.c_str(), nullptr, nullptr, nullptr,
                           INTERNET_FLAG_EXISTING_CONNECT, 1),
           &Shared::request);
  if (request == nullptr) return;
  if (Abandoned(x) || !api.sendRequest(request, nullptr, 0, nullptr, 0)) return;
  std::lock_guard<std::mutex> lock(x.mutex);
  x.sent = true;
}

// Reads the body, at most kMaxResponseBodyBytes of it.
void ReadStep(Shared& x) {
  HINTERNET request = nullptr;
  {
    std::lock_guard<std::mutex> lock(x.mutex);
    request = x.request;
  }
  std::string body;
  while (body.size() < platform::kMaxResponseBodyBytes) {
    char buffer[platform::kMaxResponseBodyBytes];
    const DWORD want =
        static_cast<DWORD>(std::min(sizeof buffer, platform::kMaxResponseBodyBytes - body.size()));
    DWORD got = 0;
    if (Abandoned(x) || !x.api.readFile(request, buffer, want, &got)) return;
    if (got == 0) break;
    body.append(buffer, got);
  }
  std::lock_guard<std::mutex> lock(x.mutex);
  x.body = std::move(body);
  x.bodyRead = true;
}

// Runs `step` on a thread of its own and waits for it until `deadline`.
// False when time ran out first (the handles are then closed, which makes a
// blocked WinINet call return; the thread finds the exchange abandoned and
// ends by itself), when the exchange had already given up, or when no
// thread could be started.
bool RunBefore(const std::shared_ptr<Shared>& x, Clock::time_point deadline, void (*step)(Shared&)) {
  {
    std::lock_guard<std::mutex> lock(x->mutex);
    if (x->abandoned) return false;
    x->stepDone = false;
  }
  std::thread worker;
  try {
    worker = std::thread([x, step] {
      step(*x);
      {
        std::lock_guard<std::mutex> lock(x->mutex);
        x->stepDone = true;
      }
      x->finished.notify_all();
    });
  } catch (const std::system_error&) {
    return false;
  }
  std::unique_lock<std::mutex> lock(x->mutex);
  if (x->finished.wait_until(lock, deadline, [&x] { return x->stepDone; })) {
    lock.unlock();
    worker.join();
    return true;
  }
  x->abandoned = true;
  x->CloseHandles();
  lock.unlock();
  worker.detach();
  return false;
}

class WinInetExchange : public platform::HttpExchange {
 public:
  WinInetExchange(const WinInetApi& api, const platform::HttpRequest& request)
      : x_(std::make_shared<Shared>()),
        deadline_(Clock::now() + std::chrono::milliseconds(std::max(0, request.totalTimeoutMs))) {
    x_->api = api;
    x_->host = request.host;
    x_->port = static_cast<INTERNET_PORT>(request.port);
    x_->path = request.path;
    x_->userAgent = request.userAgent;
    x_->connectTimeoutMs = static_cast<DWORD>(std::max(1, request.connectTimeoutMs));
    x_->stepTimeoutMs = static_cast<DWORD>(std::max(1, request.totalTimeoutMs));
    if (RunBefore(x_, deadline_, &SendStep)) {
      std::lock_guard<std::mutex> lock(x_->mutex);
      answered_ = x_->sent;
    }
  }

  ~WinInetExchange() override {
    std::lock_guard<std::mutex> lock(x_->mutex);
    x_->CloseHandles();
  }

  WinInetExchange(const WinInetExchange&) = delete;
  WinInetExchange& operator=(const WinInetExchange&) = delete;

  bool Answered() const override { return answered_; }

  // An answer whose status cannot be read is still an answer: status 0.
  int StatusCode() override {
    if (!answered_) return 0;
    if (!statusAsked_) {
      statusAsked_ = true;
      std::lock_guard<std::mutex> lock(x_->mutex);
      DWORD status = 0;
      DWORD size = sizeof status;
      if (x_->request != nullptr &&
          x_->api.queryInfo(x_->request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr)) {
        status_ = static_cast<int>(status);
      }
    }
    return status_;
  }

  // Only a 200 has its body read; any other status is the answer as it
  // stands, however slowly its body would come.
  bool ReadBody(std::string& body) override {
    body.clear();
    if (!answered_) return false;
    if (StatusCode() != 200) return true;
    if (!RunBefore(x_, deadline_, &ReadStep)) return false;
    std::lock_guard<std::mutex> lock(x_->mutex);
    if (!x_->bodyRead) return false;
    body = x_->body;
    return true;
  }

 private:
  std::shared_ptr<Shared> x_;
  const Clock::time_point deadline_;
  bool answered_ = false;
  bool statusAsked_ = false;
  int status_ = 0;
};

}  // namespace

std::unique_ptr<platform::HttpExchange> WinInetHttpClient::Send(const platform::HttpRequest& request) {
  return std::make_unique<WinInetExchange>(api_, request);
}

}  // namespace quorvel::win32
